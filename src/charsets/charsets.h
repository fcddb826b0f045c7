// Character sets: translating bytes in place, checking and filtering sets
// of bytes, removing delimited blocks, filling masks and placeholders,
// shuffling.
#pragma once

#include <cstddef>

#include "frame/bytes.h"

namespace twinekit::charsets {

// Translation of a text's bytes in place by a pair of lists: the byte at
// place k of the old list becomes the byte at place k of the new one, the
// pairs applied one after another in list order, so changes chain.

// True after translating all of txt; False, with txt untouched, when txt
// or either list is empty.
bool ChangeChars(MutableBytes txt, Bytes old_chars, Bytes new_chars);

// As ChangeChars, but the walk ends at the first byte of txt that equals
// the first byte of stop before translation; that byte and the rest stay.
// False when stop is empty too.
bool ChangeCharsUntil(MutableBytes txt, Bytes old_chars, Bytes new_chars, Bytes stop);

// Sets of bytes applied to a text: whether a text holds every byte of a
// set, the text without (or with only) the bytes of a set, and the text
// less a given leading run.

// The largest set CheckChars looks at; a longer one answers False.
inline constexpr size_t kMaxCheckSet = 128;

// True when every byte value listed in chars occurs somewhere in txt.
bool CheckChars(Bytes txt, Bytes chars);

// txt without the bytes that are in chars.
BSTR FilterChars(Bytes txt, Bytes chars);

// Only the bytes of txt that are in chars, in txt's order.
BSTR FilterNotChars(Bytes txt, Bytes chars);

// txt less one leading occurrence of prefix.
BSTR FilterFirstChars(Bytes txt, Bytes prefix);

// Runs of bytes marked by a delimiter or placeholder byte: removing
// delimited blocks, filling the placeholders of a mask, and replacing the
// placeholders of a text by the blocks of a separated list.

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

// Shuffling: the bytes of a text in an order set by a generator seeded
// from the clock at every call.

// A new string as long as txt: its bytes up to the first zero byte, zero
// bytes from there on, scrambled by txt.size() random swaps.  Two calls in
// the same second on texts of equal length apply the same permutation.
BSTR MixChars(Bytes txt);

// The swaps of MixChars on work, from a generator seeded with seed.
void Shuffle(MutableBytes work, uint32_t seed);

}  // namespace twinekit::charsets
