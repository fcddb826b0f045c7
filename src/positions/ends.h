// Bytes taken by place from either end of a text: one byte, the text less
// a number of bytes at one end, a rotation, the reversal, a numbered block.
#pragma once

#include <cstdint>

#include "frame/bytes.h"

namespace twinekit::positions {

BSTR OneCharFromLeft(Bytes txt, int32_t position);
BSTR OneCharFromRight(Bytes txt, int32_t position);
BSTR DropFromRight(Bytes txt, int32_t count);  // keeps the left part
BSTR DropFromLeft(Bytes txt, int32_t count);   // keeps the right part
BSTR RotateLeft(Bytes txt);
BSTR RotateRight(Bytes txt);
BSTR Reverse(Bytes txt);
BSTR GetBlock(Bytes txt, int32_t block_number, int32_t block_size);

}  // namespace twinekit::positions
