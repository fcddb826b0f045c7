#include "fields/fields.h"

#include "fields/default_separator.h"
#include "fields/field_scan.h"
#include "frame/byte_scan.h"
#include "frame/result.h"

namespace twinekit::fields {
namespace {

// Only -1, the host's True, asks for the part on the export's own side.
constexpr int32_t kOwnSide = -1;

}  // namespace

void SetDefaultSeparatorFrom(Bytes sep) {
  if (!sep.empty()) SetDefaultSeparator(sep[0]);
}

BSTR GetFieldAtDefault(Bytes txt, int32_t index) {
  if (txt.empty()) return EmptyResult();
  // The default separator is read once a call: a change made meanwhile by
  // another thread takes effect from the next call, never partway through
  // a text.
  return ResultFromRun(FieldFromLeft(txt, index, DefaultSeparator()));
}

BSTR GetField(Bytes txt, Bytes sep, int32_t index) {
  if (txt.empty() || sep.empty()) return EmptyResult();
  return ResultFromRun(FieldFromLeft(txt, index, sep[0]));
}

BSTR GetFieldFromRight(Bytes txt, Bytes sep, int32_t index) {
  if (txt.empty() || sep.empty()) return EmptyResult();
  return ResultFromRun(FieldFromRight(txt, index, sep[0]));
}

BSTR GetPart(Bytes txt, Bytes sep, int32_t first_part) {
  if (txt.empty() || sep.empty()) return EmptyResult();
  const size_t at = scan::Find(txt, 0, sep[0]);
  if (at == txt.size()) return first_part == kOwnSide ? EmptyResult() : CopyOfText(txt);
  return ResultFromRun(first_part == kOwnSide ? txt.first(at) : txt.subspan(at + 1));
}

BSTR GetPartFromRight(Bytes txt, Bytes sep, int32_t first_part) {
  if (txt.empty() || sep.empty()) return EmptyResult();
  const size_t at = LastSeparator(txt, sep[0]);
  if (at == scan::kNotFound) return first_part == kOwnSide ? CopyOfText(txt) : EmptyResult();
  return ResultFromRun(first_part == kOwnSide ? txt.subspan(at + 1) : txt.first(at));
}

int16_t CountSeparators(Bytes txt, Bytes sep) {
  if (txt.empty() || sep.empty()) return 0;
  const auto count = static_cast<uint64_t>(CountSeparatorBytes(txt, sep[0]));
  // The host's Integer holds the count modulo 65536.
  return static_cast<int16_t>(static_cast<uint16_t>(count & 0xFFFFu));
}

}  // namespace twinekit::fields
