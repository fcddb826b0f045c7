#include "fields/field_scan.h"

namespace twinekit::fields::field_scan_detail {

Bytes FromLeft(Bytes txt, int32_t index, const ByteClass& separator) {
  size_t start = 0;
  if (index > 1) {
    const size_t before = scan::FindNth(txt, 0, separator, static_cast<size_t>(index) - 1);
    if (before == txt.size()) return {};
    start = before + 1;
  }
  return txt.subspan(start, scan::Find(txt, start, separator) - start);
}

Bytes FromLeft(Bytes txt, int32_t index, uint8_t separator) {
  return FromLeft(txt, index, ByteClass(separator));
}

Bytes FromRight(Bytes txt, int32_t index, uint8_t value) {
  const ByteClass separator(value);
  size_t end = txt.size();
  if (index > 1) {
    end = scan::FindNthLast(txt, txt.size(), separator, static_cast<size_t>(index) - 1);
    if (end == scan::kNotFound) return {};
  }
  const size_t before = scan::FindLast(txt, end, separator);
  const size_t start = before == scan::kNotFound ? 0 : before + 1;
  return txt.subspan(start, end - start);
}

size_t LastOf(Bytes txt, uint8_t separator) {
  return scan::FindLast(txt, txt.size(), ByteClass(separator));
}

size_t CountOf(Bytes txt, uint8_t separator) { return scan::Count(txt, ByteClass(separator)); }

}  // namespace twinekit::fields::field_scan_detail
