// Removing and inserting bytes by position.
#pragma once

#include <cstdint>

#include "frame/bytes.h"

namespace twinekit::positions {

BSTR RemoveOneChar(Bytes txt, int32_t position);
BSTR RemoveBlock(Bytes txt, int32_t position, int32_t count);
BSTR InsertAt(Bytes txt, int32_t position, Bytes insertion);

}  // namespace twinekit::positions
