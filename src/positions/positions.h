// Positions and blocks: bytes taken by position from either end, rotation
// and reversal, blocks by number; removing, inserting, resizing, filling
// and aligning.
#pragma once

#include <cstdint>

#include "frame/bytes.h"

namespace twinekit::positions {

// Bytes taken by place from either end of a text: one byte, the text less
// a number of bytes at one end, a rotation, the reversal, a numbered block.

BSTR OneCharFromLeft(Bytes txt, int32_t position);
BSTR OneCharFromRight(Bytes txt, int32_t position);
BSTR DropFromRight(Bytes txt, int32_t count);  // keeps the left part
BSTR DropFromLeft(Bytes txt, int32_t count);   // keeps the right part
BSTR RotateLeft(Bytes txt);
BSTR RotateRight(Bytes txt);
BSTR Reverse(Bytes txt);
BSTR GetBlock(Bytes txt, int32_t block_number, int32_t block_size);

// Removing and inserting bytes by position.

BSTR RemoveOneChar(Bytes txt, int32_t position);
BSTR RemoveBlock(Bytes txt, int32_t position, int32_t count);
BSTR InsertAt(Bytes txt, int32_t position, Bytes insertion);

// Sizing a text: cutting it, padding it, filling with a repeated pattern,
// aligning it in a field of blanks.

BSTR Truncate(Bytes txt, int32_t new_length);
BSTR TruncateOrPad(Bytes txt, int32_t new_length, Bytes filler);
BSTR CreateFilled(int32_t length, Bytes filler);
bool FillInPlace(MutableBytes txt, Bytes filler);
BSTR Align(Bytes txt, int16_t mode, int32_t width);

}  // namespace twinekit::positions
