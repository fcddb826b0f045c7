#include "sql/sql_arguments.h"

#include <algorithm>
#include <charconv>
#include <cmath>
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

// Writes a message into a fixed buffer, cut short if it must be, always
// ended by a zero byte.  (No printf: its floating-point code would need a
// C runtime's start-up, which the Windows modules do without.)
class MessageWriter {
 public:
  explicit MessageWriter(Message& out) : out_(out) { out_[0] = 0; }
  MessageWriter& Append(std::string_view text) {
    const size_t n = std::min(text.size(), out_.size() - 1 - size_);
    std::copy_n(text.data(), n, out_.data() + size_);
    size_ += n;
    out_[size_] = 0;
    return *this;
  }
  MessageWriter& Append(int64_t n) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    return Append(std::string_view(digits, static_cast<size_t>(end - digits)));
  }

 private:
  Message& out_;
  size_t size_ = 0;
};

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
  MessageWriter w(out);
  w.Append(e.name).Append(": argument ").Append(static_cast<int64_t>(i + 1)).Append(" (");
  w.Append(ArgumentName(e, i)).Append(") must be ");
  if (e.args[i] == 'L' || e.args[i] == 'I') {
    const Range r = RangeOf(e.args[i]);
    w.Append("a whole number from ").Append(r.low).Append(" to ").Append(r.high);
  } else {
    w.Append("text or a blob");
  }
}

void WrongCount(const ExportInfo& e, Message& out) {
  MessageWriter(out).Append(e.name).Append(": wrong number of arguments");
}

}  // namespace twinekit::sql
