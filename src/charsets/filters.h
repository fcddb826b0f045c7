// Sets of bytes applied to a text: whether a text holds every byte of a
// set, the text without (or with only) the bytes of a set, and the text
// less a given leading run.
#pragma once

#include <cstddef>

#include "frame/bytes.h"

namespace twinekit::charsets {

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

}  // namespace twinekit::charsets
