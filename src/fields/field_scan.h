// Numbered fields of a text, divided by the members of a byte class: one
// separator byte, the default separator, or a set of bytes.  A text with k
// separators has k + 1 fields, numbered from 1; a field never holds a
// separator and may be empty.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "frame/byte_mask.h"
#include "frame/byte_scan.h"
#include "frame/bytes.h"

namespace twinekit::fields {

// Texts up to this length are scanned through a mask of their separators
// (frame/byte_mask.h): the vector scans' set-up costs more than the scan.
inline constexpr size_t kShortFieldText = kMaxMaskedSpan;

namespace field_scan_detail {

// The field of a short text whose separators are the bits of seps that
// has `before` of them before it and `after` after it, found from the
// nearer end.
inline Bytes FieldBetween(Bytes txt, uint64_t seps, size_t before, size_t after) {
  size_t start = 0;
  size_t end = txt.size();
  if (before <= after) {
    for (; before > 0; --before) {
      start = static_cast<size_t>(std::countr_zero(seps)) + 1;
      seps &= seps - 1;
    }
    if (seps != 0) end = static_cast<size_t>(std::countr_zero(seps));
  } else {
    for (; after > 0; --after) {
      end = static_cast<size_t>(63 - std::countl_zero(seps));
      seps &= ~(uint64_t{1} << end);
    }
    start = static_cast<size_t>(64 - std::countl_zero(seps));
  }
  return Bytes(txt.data() + start, end - start);
}

// Field `index` (at least 1) counted from the left or the right of a
// short text whose separators are the bits of seps.
inline Bytes FromLeftInMask(Bytes txt, int32_t index, uint64_t seps) {
  const size_t count = words::CountOfBits(seps);
  const auto before = static_cast<size_t>(index) - 1;
  return before > count ? Bytes() : FieldBetween(txt, seps, before, count - before);
}

inline Bytes FromRightInMask(Bytes txt, int32_t index, uint64_t seps) {
  const size_t count = words::CountOfBits(seps);
  const auto after = static_cast<size_t>(index) - 1;
  return after > count ? Bytes() : FieldBetween(txt, seps, count - after, after);
}

// The same by the vector scans, for longer texts (index at least 1).
Bytes FromLeft(Bytes txt, int32_t index, uint8_t separator);
Bytes FromRight(Bytes txt, int32_t index, uint8_t separator);
size_t LastOf(Bytes txt, uint8_t separator);
size_t CountOf(Bytes txt, uint8_t separator);

}  // namespace field_scan_detail

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

inline Bytes FieldFromLeft(Bytes txt, int32_t index, uint8_t separator) {
  if (index < 1) return {};
  if (txt.size() <= kShortFieldText) {
    return field_scan_detail::FromLeftInMask(txt, index, MaskOfValue(txt, separator));
  }
  return field_scan_detail::FromLeft(txt, index, separator);
}

// The same where every byte of seps (a few) is a separator, in a text of
// at most kShortFieldText bytes.
inline Bytes FieldFromLeftInShortText(Bytes txt, int32_t index, Bytes seps) {
  if (index < 1) return {};
  return field_scan_detail::FromLeftInMask(txt, index, MaskedSpan(txt).MaskOfAny(seps));
}

// The mirror image: field 1 is the part after the last separator.  The run
// keeps the text's order.
inline Bytes FieldFromRight(Bytes txt, int32_t index, uint8_t separator) {
  if (index < 1) return {};
  if (txt.size() <= kShortFieldText) {
    return field_scan_detail::FromRightInMask(txt, index, MaskOfValue(txt, separator));
  }
  return field_scan_detail::FromRight(txt, index, separator);
}

// The place of the last separator, or scan::kNotFound.
inline size_t LastSeparator(Bytes txt, uint8_t separator) {
  if (txt.size() <= kShortFieldText) {
    const uint64_t seps = MaskOfValue(txt, separator);
    return seps == 0 ? scan::kNotFound : static_cast<size_t>(63 - std::countl_zero(seps));
  }
  return field_scan_detail::LastOf(txt, separator);
}

// The number of separators.
inline size_t CountSeparatorBytes(Bytes txt, uint8_t separator) {
  if (txt.size() <= kShortFieldText) return words::CountOfBits(MaskOfValue(txt, separator));
  return field_scan_detail::CountOf(txt, separator);
}

}  // namespace twinekit::fields
