// Services over zero-terminated byte strings: substring search and bounded
// copy.  Each stops at a string's first zero byte.
#pragma once

#include <cstddef>
#include <cstdint>

namespace twinekit {

// The first place in text where all bytes of pattern follow one another,
// or null.  An empty pattern is found at the start of text.
const uint8_t* FindZ(const uint8_t* text, const uint8_t* pattern);

// Copies source into destination until count bytes are written or source's
// zero byte is reached, then fills the rest of the count with zero bytes.
void CopyZ(uint8_t* destination, const uint8_t* source, size_t count);

}  // namespace twinekit
