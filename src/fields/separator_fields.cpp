#include "fields/separator_fields.h"

#include <algorithm>

#include "fields/default_separator.h"
#include "fields/field_scan.h"
#include "frame/result.h"

namespace twinekit::fields {
namespace {

// Only -1, the host's True, asks for the part on the export's own side.
constexpr int32_t kOwnSide = -1;

}  // namespace

void SetDefaultSeparatorFrom(Bytes sep) {
  uint8_t separator;
  if (FirstByte(sep, &separator)) SetDefaultSeparator(separator);
}

BSTR GetFieldAtDefault(Bytes txt, int32_t index) {
  if (txt.empty()) return EmptyResult();
  // The separator is read again for every byte: a change made meanwhile by
  // another thread may take effect partway through the text.
  const auto find_default = [](Bytes text, size_t from) {
    while (from < text.size() && text[from] != DefaultSeparator()) ++from;
    return from;
  };
  return ResultFromRun(FieldFromLeft(txt, index, find_default));
}

BSTR GetField(Bytes txt, Bytes sep, int32_t index) {
  uint8_t separator;
  if (txt.empty() || !FirstByte(sep, &separator)) return EmptyResult();
  const auto find_separator = [separator](Bytes text, size_t from) {
    return FindByte(text, from, separator);
  };
  return ResultFromRun(FieldFromLeft(txt, index, find_separator));
}

BSTR GetFieldFromRight(Bytes txt, Bytes sep, int32_t index) {
  uint8_t separator;
  if (txt.empty() || !FirstByte(sep, &separator)) return EmptyResult();
  return ResultFromRun(FieldFromRight(txt, index, separator));
}

BSTR GetPart(Bytes txt, Bytes sep, int32_t first_part) {
  uint8_t separator;
  if (txt.empty() || !FirstByte(sep, &separator)) return EmptyResult();
  const size_t at = FindByte(txt, 0, separator);
  if (at == txt.size()) return first_part == kOwnSide ? EmptyResult() : CopyOfText(txt);
  return ResultFromRun(first_part == kOwnSide ? txt.first(at) : txt.subspan(at + 1));
}

BSTR GetPartFromRight(Bytes txt, Bytes sep, int32_t first_part) {
  uint8_t separator;
  if (txt.empty() || !FirstByte(sep, &separator)) return EmptyResult();
  const size_t at = FindLastByte(txt, separator);
  if (at == txt.size()) return first_part == kOwnSide ? CopyOfText(txt) : EmptyResult();
  return ResultFromRun(first_part == kOwnSide ? txt.subspan(at + 1) : txt.first(at));
}

int16_t CountSeparators(Bytes txt, Bytes sep) {
  uint8_t separator;
  if (txt.empty() || !FirstByte(sep, &separator)) return 0;
  const auto count = static_cast<uint64_t>(std::count(txt.begin(), txt.end(), separator));
  // The host's Integer holds the count modulo 65536.
  return static_cast<int16_t>(static_cast<uint16_t>(count & 0xFFFFu));
}

}  // namespace twinekit::fields
