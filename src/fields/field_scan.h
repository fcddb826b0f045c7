// Numbered fields of a text, divided by the members of a byte class: one
// separator byte, the default separator, or a set of bytes.  A text with k separators has k + 1 fields,
// numbered from 1; a field never holds a separator and may be empty.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/byte_scan.h"
#include "frame/bytes.h"

namespace twinekit::fields {

// Field number `index` counted from the left: an empty run when the text
// has fewer fields.  The field starts after separator index - 1 and ends
// at the next one; the scan stops there.
inline Bytes FieldFromLeft(Bytes txt, int32_t index, const ByteClass& separator) {
  if (index < 1) return {};
  size_t start = 0;
  if (index > 1) {
    const size_t before = scan::FindNth(txt, 0, separator, static_cast<size_t>(index) - 1);
    if (before == txt.size()) return {};
    start = before + 1;
  }
  return txt.subspan(start, scan::Find(txt, start, separator) - start);
}

// The mirror image: field 1 is the part after the last separator.  The run
// keeps the text's order.
inline Bytes FieldFromRight(Bytes txt, int32_t index, const ByteClass& separator) {
  if (index < 1) return {};
  size_t end = txt.size();
  if (index > 1) {
    end = scan::FindNthLast(txt, txt.size(), separator, static_cast<size_t>(index) - 1);
    if (end == scan::kNotFound) return {};
  }
  const size_t before = scan::FindLast(txt, end, separator);
  const size_t start = before == scan::kNotFound ? 0 : before + 1;
  return txt.subspan(start, end - start);
}

}  // namespace twinekit::fields
