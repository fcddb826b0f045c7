#include "sql/sql_call.h"

#include "frame/allocation_failures.h"
#include "frame/platform.h"

namespace twinekit::sql {
namespace {

bool IsGet(const ExportInfo& e) { return e.name == "cGet"; }
bool IsSetSeparator(const ExportInfo& e) { return e.name == "cSetDefaultSeparator"; }

// The export that runs: cGetIn for cGet, which gets its separator from the
// session.
const ExportInfo& Runner(const ExportInfo& e) { return IsGet(e) ? *FindExport("cGetIn") : e; }

// The argument of the runner that argument i of e becomes.
size_t Slot(const ExportInfo& e, size_t i) { return IsGet(e) && i == 1 ? 2 : i; }

bool IsString(char kind) { return kind == 'R' || kind == 'W' || kind == 'V'; }

// Whether the first string argument came as a BLOB.
bool FirstStringIsBlob(const ExportInfo& e, std::span<const SqlValue> values) {
  for (size_t i = 0; i < e.args.size(); ++i) {
    if (IsString(e.args[i])) return values[i].type == SqlValue::kBlob;
  }
  return false;
}

SqlValue Bytes(BSTR s, bool blob) {
  const char* b = reinterpret_cast<const char*>(s);
  const size_t n = SysStringByteLen(s);
  return blob ? SqlValue::Blob(b, n) : SqlValue::Text(b, n);
}

}  // namespace

SqlCall::SqlCall(const ExportInfo& e, SqlSession& session)
    : export_(e), session_(session), call_(Runner(e), call::ExportCall::Changes::kIgnored) {
  VariantInit(&variant_);
}

SqlCall::~SqlCall() { VariantClear(&variant_); }

SqlStatus SqlCall::Run(std::span<const SqlValue> values, size_t limit) {
  if (values.size() != export_.args.size()) {
    WrongCount(export_, message_);
    return SqlStatus::kError;
  }
  for (const SqlValue& v : values) {
    if (v.type == SqlValue::kNull) return SqlStatus::kNull;
  }
  if (IsSetSeparator(export_)) return SetSeparator(values[0]);
  if (const SqlStatus s = ReadArguments(values); s != SqlStatus::kValue) return s;
  // An export short of working memory answers as if it had done its work
  // (the empty result, the text as it was); SQL reports the want instead.
  const uint32_t failures = AllocationFailures();
  if (!call_.Run() || AllocationFailures() != failures) return SqlStatus::kNoMemory;
  return MakeResult(FirstStringIsBlob(export_, values), limit);
}

SqlStatus SqlCall::ReadArguments(std::span<const SqlValue> values) {
  for (size_t i = 0; i < values.size(); ++i) {
    const SqlStatus s = ReadArgument(Slot(export_, i), i, values[i]);
    if (s != SqlStatus::kValue) return s;
  }
  if (!IsGet(export_)) return SqlStatus::kValue;
  const char sep = static_cast<char>(session_.separator);
  return ReadArgument(1, 0, SqlValue::Text(&sep, 1));
}

// Argument slot of the export that runs, from argument own of the export
// called, which an error message names.
SqlStatus SqlCall::ReadArgument(size_t slot, size_t own, const SqlValue& v) {
  const char kind = call_.info().args[slot];
  if (kind == 'L' || kind == 'I') {
    const std::optional<int32_t> n = WholeNumber(v, kind);
    if (!n) return WrongArgument(export_, own, message_), SqlStatus::kError;
    call_.SetNumber(slot, *n);
  } else if (kind == 'X') {
    if (!VariantOf(v, variant_)) return SqlStatus::kNoMemory;
    call_.SetVariant(slot, &variant_);
  } else {
    if (!v.IsString()) return WrongArgument(export_, own, message_), SqlStatus::kError;
    if (v.size > kLongestString) return SqlStatus::kTooBig;
    if (kind != 'W') {
      if (!call_.LendString(slot, v.bytes, v.size)) return SqlStatus::kNoMemory;
      return SqlStatus::kValue;
    }
    BSTR bytes = StringOf(v);
    if (bytes == nullptr) return SqlStatus::kNoMemory;
    call_.TakeString(slot, bytes);
  }
  return SqlStatus::kValue;
}

SqlStatus SqlCall::SetSeparator(const SqlValue& v) {
  if (!v.IsString()) return WrongArgument(export_, 0, message_), SqlStatus::kError;
  if (v.size > 0) session_.separator = static_cast<uint8_t>(v.bytes[0]);
  return SqlStatus::kNull;
}

SqlStatus SqlCall::MakeResult(bool blob, size_t limit) {
  const call::Result& r = call_.result();
  if (export_.args[0] == 'W') {
    result_ = Bytes(call_.String(0), blob);
  } else if (export_.result == 'S') {
    if (r.string == nullptr) return SqlStatus::kNoMemory;
    result_ = Bytes(r.string, blob);
  } else {
    result_ = SqlValue::Integer(export_.result == 'X' ? r.variant.lVal : r.number);
  }
  if (result_.IsString() && result_.size > limit) return SqlStatus::kTooBig;
  return SqlStatus::kValue;
}

}  // namespace twinekit::sql
