#include "fields/field_scan.h"

namespace twinekit::fields::field_scan_detail {

Bytes FromLeft(Bytes txt, int32_t index, uint8_t separator) {
  return FieldFromLeft(txt, index, ByteClass(separator));
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
