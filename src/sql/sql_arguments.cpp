#include "sql/sql_arguments.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "frame/platform.h"

namespace twinekit::sql {
namespace {

struct Range {
  int32_t low, high;
};

constexpr Range RangeOf(char kind) {
  return kind == 'I' ? Range{INT16_MIN, INT16_MAX} : Range{INT32_MIN, INT32_MAX};
}

std::optional<int64_t> DecimalText(const SqlValue& v) {
  std::string_view text(v.bytes, v.size);
  const bool plus = !text.empty() && text[0] == '+';
  if (plus) text.remove_prefix(1);
  if (text.empty() || (plus && text[0] == '-')) return std::nullopt;
  int64_t n = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return n;
}

std::optional<int64_t> WholeReal(double x) {
  // Beyond 2^62 every double is whole and out of any Basic range.
  if (!std::isfinite(x) || x != std::trunc(x) || std::fabs(x) > 0x1p62) return std::nullopt;
  return static_cast<int64_t>(x);
}

std::optional<int64_t> Whole(const SqlValue& v) {
  switch (v.type) {
    case SqlValue::kInteger: return v.integer;
    case SqlValue::kReal: return WholeReal(v.real);
    case SqlValue::kText: return DecimalText(v);
    default: return std::nullopt;
  }
}

// The name of argument i in the export table's list of names.
std::string_view ArgumentName(const ExportInfo& e, size_t i) {
  std::string_view names = e.params;
  for (; i > 0; --i) names.remove_prefix(names.find(' ') + 1);
  return names.substr(0, names.find(' '));
}

}  // namespace

std::optional<int32_t> WholeNumber(const SqlValue& v, char kind) {
  const std::optional<int64_t> n = Whole(v);
  const Range r = RangeOf(kind);
  if (!n || *n < r.low || *n > r.high) return std::nullopt;
  return static_cast<int32_t>(*n);
}

BSTR StringOf(const SqlValue& v) {
  return SysAllocStringByteLen(v.bytes, static_cast<UINT>(v.size));
}

bool VariantOf(const SqlValue& v, VARIANT& out) {
  VariantInit(&out);
  if (v.type == SqlValue::kInteger && v.integer >= INT32_MIN && v.integer <= INT32_MAX) {
    out.vt = VT_I4;
    out.lVal = static_cast<int32_t>(v.integer);
  } else if (v.type == SqlValue::kInteger || v.type == SqlValue::kReal) {
    out.vt = VT_R8;
    out.dblVal = v.type == SqlValue::kReal ? v.real : static_cast<double>(v.integer);
  } else {
    BSTR wide = SysAllocStringLen(nullptr, static_cast<UINT>(v.size));
    if (wide == nullptr) return false;
    for (size_t k = 0; k < v.size; ++k) wide[k] = static_cast<unsigned char>(v.bytes[k]);
    out.vt = VT_BSTR;
    out.bstrVal = wide;
  }
  return true;
}

void WrongArgument(const ExportInfo& e, size_t i, Message& out) {
  const char kind = e.args[i];
  const std::string_view name = ArgumentName(e, i);
  const int n = static_cast<int>(i + 1);
  if (kind == 'L' || kind == 'I') {
    const Range r = RangeOf(kind);
    std::snprintf(out.data(), out.size(), "%.*s: argument %d (%.*s) must be a whole number from %d to %d",
                  static_cast<int>(e.name.size()), e.name.data(), n, static_cast<int>(name.size()),
                  name.data(), static_cast<int>(r.low), static_cast<int>(r.high));
  } else {
    std::snprintf(out.data(), out.size(), "%.*s: argument %d (%.*s) must be text or a blob",
                  static_cast<int>(e.name.size()), e.name.data(), n, static_cast<int>(name.size()),
                  name.data());
  }
}

}  // namespace twinekit::sql
