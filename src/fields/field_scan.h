// Numbered fields of a text, found by a separator test that the caller
// supplies: one byte, the default separator, or a set of bytes.  A text
// with k separators has k + 1 fields, numbered from 1; a field never holds
// a separator and may be empty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "frame/bytes.h"

namespace twinekit::fields {

// Field number `index` counted from the left: an empty run when the text
// has fewer fields.  find_separator(txt, from) gives the place of the first
// separator at or after from, or txt.size() when there is none; the scan
// stops at the separator that ends the wanted field.
template <typename FindSeparator>
Bytes FieldFromLeft(Bytes txt, int32_t index, FindSeparator find_separator) {
  if (index < 1) return {};
  size_t start = 0;
  for (int32_t field = 1;; ++field) {
    const size_t end = find_separator(txt, start);
    if (field == index) return txt.subspan(start, end - start);
    if (end == txt.size()) return {};
    start = end + 1;
  }
}

// The mirror image: field 1 is the part after the last separator.  The run
// keeps the text's order.
inline Bytes FieldFromRight(Bytes txt, int32_t index, uint8_t separator) {
  if (index < 1) return {};
  size_t end = txt.size();
  for (int32_t field = 1;; ++field) {
    size_t start = end;
    while (start > 0 && txt[start - 1] != separator) --start;
    if (field == index) return txt.subspan(start, end - start);
    if (start == 0) return {};
    end = start - 1;
  }
}

// The first place at or after from that holds separator, or txt.size().
inline size_t FindByte(Bytes txt, size_t from, uint8_t separator) {
  if (from >= txt.size()) return txt.size();
  const void* hit = std::memchr(txt.data() + from, separator, txt.size() - from);
  return hit == nullptr ? txt.size()
                        : static_cast<size_t>(static_cast<const uint8_t*>(hit) - txt.data());
}

// The place of the last separator, or txt.size() when there is none.
inline size_t FindLastByte(Bytes txt, uint8_t separator) {
  for (size_t i = txt.size(); i > 0; --i) {
    if (txt[i - 1] == separator) return i - 1;
  }
  return txt.size();
}

}  // namespace twinekit::fields
