// Runs of bytes marked by a delimiter or placeholder byte: removing
// delimited blocks, filling the placeholders of a mask, and replacing the
// placeholders of a text by the blocks of a separated list.
#pragma once

#include "frame/bytes.h"

namespace twinekit::charsets {

// The separator of the block inserters when none is given.
inline constexpr uint8_t kDefaultBlockSeparator = '~';
// The placeholder of a mask when none is given.
inline constexpr uint8_t kDefaultPlaceholder = '#';

// txt without its blocks.  delimiters holds one delimiter that opens and
// closes (one byte, or two equal bytes) or an opener and a closer.
BSTR FilterBlocks(Bytes txt, Bytes delimiters);

// mask with its k-th placeholder (the first byte of mask_char, or "#")
// replaced by the k-th byte of txt, or by a blank when txt is too short.
BSTR InsertByMask(Bytes mask, Bytes mask_char, Bytes txt);

// txt with each separator byte replaced by the next block of blocks, a
// list cut by the same byte; separators past the last block are dropped.
BSTR InsertBlocks(Bytes txt, Bytes blocks, uint8_t separator);

}  // namespace twinekit::charsets
