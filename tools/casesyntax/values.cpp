#include "values.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "frame/chars.h"

namespace tkhost {
namespace {

int HexDigit(char c) { return twinekit::HexDigitValue(static_cast<uint8_t>(c)); }

// One escape after a backslash at text[i]; advances i past it.
bool Unescape1(std::string_view text, size_t& i, std::string& out) {
  if (++i >= text.size()) return false;
  switch (text[i++]) {
    case '0': out.push_back('\0'); return true;
    case 't': out.push_back('\t'); return true;
    case 'n': out.push_back('\n'); return true;
    case 'r': out.push_back('\r'); return true;
    case '\\': out.push_back('\\'); return true;
    case '\'': out.push_back('\''); return true;
    case 'x': {
      if (i + 2 > text.size()) return false;
      const int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
      if (hi < 0 || lo < 0) return false;
      out.push_back(static_cast<char>(hi * 16 + lo));
      i += 2;
      return true;
    }
  }
  return false;
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    if (text[i] != '\\') {
      out.push_back(text[i++]);
    } else if (!Unescape1(text, i, out)) {
      return std::nullopt;
    }
  }
  return out;
}

// A decimal or 0x hexadecimal number without a sign, up to 2^64 - 1.
std::optional<uint64_t> ParseMagnitude(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  uint64_t v = 0;
  for (char c : text) {
    const int d = HexDigit(c);
    if (d < 0 || d >= base) return std::nullopt;
    const auto digit = static_cast<uint64_t>(d), radix = static_cast<uint64_t>(base);
    if (v > (UINT64_MAX - digit) / radix) return std::nullopt;
    v = v * radix + digit;
  }
  return v;
}

std::optional<int64_t> ParseInteger(std::string_view text) {
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) text.remove_prefix(1);
  const auto v = ParseMagnitude(text);
  if (!v || *v > (negative ? uint64_t{1} << 63 : uint64_t{INT64_MAX})) return std::nullopt;
  return negative ? static_cast<int64_t>(0 - *v) : static_cast<int64_t>(*v);
}

// A Decimal's 96-bit magnitude as three 32-bit limbs, the highest first.
using Limbs = std::array<uint32_t, 3>;

Limbs LimbsOf(const VariantValue& v) {
  const auto low = static_cast<uint64_t>(v.integer);
  return {v.high, static_cast<uint32_t>(low >> 32), static_cast<uint32_t>(low)};
}

// A Decimal: a sign, up to 29 digits and up to 28 of them after the point.
std::optional<VariantValue> ParseDecimal(std::string_view text) {
  VariantValue v;
  v.vt = kVtDecimal;
  v.negative = !text.empty() && text[0] == '-';
  if (v.negative) text.remove_prefix(1);
  const size_t dot = text.find('.');
  if (dot != std::string_view::npos) {
    v.scale = static_cast<uint8_t>(std::min<size_t>(text.size() - dot - 1, 99));
  }
  Limbs limbs{};
  size_t digits = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (i == dot) continue;
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    uint64_t carry = static_cast<uint64_t>(text[i] - '0');
    for (size_t k = limbs.size(); k-- > 0;) {
      carry += uint64_t{limbs[k]} * 10;
      limbs[k] = static_cast<uint32_t>(carry);
      carry >>= 32;
    }
    if (carry != 0) return std::nullopt;
    ++digits;
  }
  if (digits == 0 || v.scale > 28) return std::nullopt;
  v.high = limbs[0];
  v.integer = static_cast<int64_t>(uint64_t{limbs[1]} << 32 | limbs[2]);
  return v;
}

std::string DecimalText(const VariantValue& v) {
  Limbs limbs = LimbsOf(v);
  std::string digits;
  do {
    uint64_t rest = 0;
    for (uint32_t& limb : limbs) {
      const uint64_t current = rest << 32 | limb;
      limb = static_cast<uint32_t>(current / 10);
      rest = current % 10;
    }
    digits.insert(digits.begin(), static_cast<char>('0' + rest));
  } while (limbs != Limbs{});
  if (digits.size() <= v.scale) digits.insert(0, v.scale + 1 - digits.size(), '0');
  if (v.scale > 0) digits.insert(digits.size() - v.scale, ".");
  return (v.negative ? "-" : "") + digits;
}

std::optional<double> ParseReal(std::string_view text) {
  const std::string s(text);
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(s.c_str(), &end);
  if (s.empty() || end != s.c_str() + s.size()) return std::nullopt;
  return v;
}

// Currency: a decimal with up to four places, held exactly as value x 10000.
std::optional<int64_t> ParseCurrency(std::string_view text) {
  const size_t dot = text.find('.');
  std::string scaled(text.substr(0, dot));
  std::string places = dot == std::string_view::npos ? "" : std::string(text.substr(dot + 1));
  if (places.size() > 4 || places.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  places.resize(4, '0');
  if (scaled.empty() || scaled == "-") scaled += "0";
  return ParseInteger(scaled + places);
}

// 'piece'*N+'piece'...
std::optional<std::string> ParseQuoted(std::string_view text) {
  std::string out;
  size_t i = 0;
  while (true) {
    if (i >= text.size() || text[i] != '\'') return std::nullopt;
    std::string piece;
    for (++i; i < text.size() && text[i] != '\'';) {
      if (text[i] != '\\') {
        piece.push_back(text[i++]);
      } else if (!Unescape1(text, i, piece)) {
        return std::nullopt;
      }
    }
    if (i++ >= text.size()) return std::nullopt;  // no closing quote
    if (text.substr(i, 3) == "..'") {
      // 'a'..'z': every byte value from the first to the last.
      const size_t close = text.find('\'', i + 3 + (text[i + 3] == '\\' ? 1 : 0) + 1);
      auto last = close == std::string_view::npos ? std::nullopt : ParseQuoted(text.substr(i + 2, close + 1 - (i + 2)));
      if (piece.size() != 1 || !last || last->size() != 1) return std::nullopt;
      const auto from = static_cast<unsigned char>(piece[0]), to = static_cast<unsigned char>((*last)[0]);
      if (from > to) return std::nullopt;
      piece.clear();
      for (unsigned c = from; c <= to; ++c) piece.push_back(static_cast<char>(c));
      i = close + 1;
    }
    int64_t times = 1;
    if (i < text.size() && text[i] == '*') {
      const size_t end = text.find('+', i);
      const auto n = ParseInteger(text.substr(i + 1, end - i - 1));
      if (!n || *n < 0 || *n > (int64_t{1} << 26)) return std::nullopt;
      times = *n;
      i = end == std::string_view::npos ? text.size() : end;
    }
    for (int64_t t = 0; t < times; ++t) out += piece;
    if (i == text.size()) return out;
    if (text[i++] != '+') return std::nullopt;
  }
}

std::optional<std::string> ParseString(std::string_view text) {
  if (!text.empty() && text[0] == '\'') return ParseQuoted(text);
  return Unescape(text);
}

struct Named {
  std::string_view name;
  uint16_t vt;
};
constexpr Named kWholeTypes[] = {{"i1", kVtI1},     {"i2", kVtI2},   {"i4", kVtI4},
                                 {"i8", kVtI8},     {"ui1", kVtUi1}, {"ui2", kVtUi2},
                                 {"ui4", kVtUi4},   {"int", kVtInt}, {"uint", kVtUint},
                                 {"error", kVtError}};
constexpr Named kRealTypes[] = {{"r4", kVtR4}, {"r8", kVtR8}, {"date", kVtDate}};

// Variants by reference to a Variant nest at most this deep.
constexpr int kMaxReferenceDepth = 2;

std::optional<VariantValue> ParseVariant(std::string_view text, int depth = 0) {
  VariantValue v;
  if (text == "empty") return v;
  if (text == "null") {
    v.vt = kVtNull;
    return v;
  }
  const size_t colon = text.find(':');
  const std::string_view type = text.substr(0, colon);
  const std::string_view rest = colon == std::string_view::npos ? "" : text.substr(colon + 1);
  if (type == "ref") {
    if (rest.starts_with("var:")) {
      if (depth >= kMaxReferenceDepth) return std::nullopt;
      auto target = ParseVariant(rest.substr(4), depth + 1);
      if (!target) return std::nullopt;
      v.vt = kVtVariant | kVtByRef;
      v.referent.push_back(std::move(*target));
      return v;
    }
    auto target = ParseVariant(rest, kMaxReferenceDepth);
    if (!target || (target->vt & kVtByRef) != 0) return std::nullopt;
    target->vt |= kVtByRef;
    return target;
  }
  if (type == "vt") {
    const auto n = ParseMagnitude(rest);
    if (!n || *n > UINT16_MAX) return std::nullopt;
    v.vt = static_cast<uint16_t>(*n);
    return v;
  }
  if (type == "dec") return ParseDecimal(rest);
  if (type == "ui8") {
    const auto n = ParseMagnitude(rest);
    if (!n) return std::nullopt;
    v.vt = kVtUi8;
    v.integer = static_cast<int64_t>(*n);
    return v;
  }
  for (const Named& t : kWholeTypes) {
    if (type != t.name) continue;
    const auto n = ParseInteger(rest);
    if (!n) return std::nullopt;
    v.vt = t.vt;
    v.integer = *n;
    return v;
  }
  for (const Named& t : kRealTypes) {
    if (type != t.name) continue;
    const auto x = ParseReal(rest);
    if (!x) return std::nullopt;
    v.vt = t.vt;
    v.real = *x;
    return v;
  }
  if (type == "bool") {
    v.vt = kVtBool;
    if (rest == "true" || rest == "false") {
      v.integer = rest == "true" ? -1 : 0;
      return v;
    }
    const auto n = ParseInteger(rest);
    if (!n) return std::nullopt;
    v.integer = *n;
    return v;
  }
  if (type == "cy") {
    const auto n = ParseCurrency(rest);
    if (!n) return std::nullopt;
    v.vt = kVtCy;
    v.integer = *n;
    return v;
  }
  if (type == "str") {
    auto s = ParseString(rest);
    if (!s) return std::nullopt;
    v.vt = kVtBstr;
    v.text = std::move(*s);
    return v;
  }
  if (const auto n = ParseInteger(text)) {
    v.vt = kVtI4;
    v.integer = *n;
    return v;
  }
  if (const auto x = ParseReal(text)) {
    v.vt = kVtR8;
    v.real = *x;
    return v;
  }
  return std::nullopt;
}

std::string Real(double x) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", x);
  return text;
}

std::string Currency(int64_t scaled) {
  const uint64_t magnitude = scaled < 0 ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
  char text[32];
  int n = std::snprintf(text, sizeof text, "%s%llu.%04llu", scaled < 0 ? "-" : "",
                        static_cast<unsigned long long>(magnitude / 10000),
                        static_cast<unsigned long long>(magnitude % 10000));
  while (text[n - 1] == '0') --n;  // trailing zeros of the places, then
  if (text[n - 1] == '.') --n;     // the point itself
  return std::string(text, static_cast<size_t>(n));
}

// Appends c in the syntax of a quoted string.  A hexadecimal digit right
// after a \xHH escape is escaped too, so that the two bytes 0x12 0x34 read
// '\x12\x34' rather than '\x124'.  Returns whether c went in as \xHH.
bool AppendEscaped(std::string& out, unsigned char c, bool after_hex_escape = false) {
  switch (c) {
    case '\\': out += "\\\\"; return false;
    case '\'': out += "\\'"; return false;
    case '\0': out += "\\0"; return false;
    case '\t': out += "\\t"; return false;
    case '\n': out += "\\n"; return false;
    case '\r': out += "\\r"; return false;
  }
  if (c >= 0x20 && c < 0x7F && !(after_hex_escape && HexDigit(static_cast<char>(c)) >= 0)) {
    out.push_back(static_cast<char>(c));
    return false;
  }
  char hex[5];
  std::snprintf(hex, sizeof hex, "\\x%02X", c);
  out += hex;
  return true;
}

// How many times bytes[at, at+unit) repeats from at.
size_t Repeats(std::string_view bytes, size_t at, size_t unit) {
  size_t times = 1;
  while (at + (times + 1) * unit <= bytes.size() &&
         bytes.compare(at + times * unit, unit, bytes.substr(at, unit)) == 0) {
    ++times;
  }
  return times;
}

}  // namespace

std::optional<Value> ParseValue(char kind, std::string_view text) {
  Value v;
  switch (kind) {
    case 'R':
    case 'W':
    case 'V':
    case 'S': {
      if (text == "@null") return v;
      auto s = ParseString(text);
      if (!s) return std::nullopt;
      v.tag = Value::kBytes;
      v.bytes = std::move(*s);
      return v;
    }
    case 'L':
    case 'I': {
      const auto n = ParseInteger(text);
      if (!n) return std::nullopt;
      v.tag = Value::kNumber;
      v.number = *n;
      return v;
    }
    case 'X': {
      auto var = ParseVariant(text);
      if (!var) return std::nullopt;
      v.tag = Value::kVariant;
      v.variant = std::move(*var);
      return v;
    }
  }
  return std::nullopt;
}

std::string Quote(std::string_view bytes) {
  // Runs worth writing as a repetition: a unit of 1 to 8 bytes repeated
  // into at least 12 bytes.
  std::string out, literal;
  bool literal_ends_in_hex = false;
  auto flush = [&] {
    literal_ends_in_hex = false;
    if (literal.empty()) return;
    if (!out.empty()) out += "+";
    out += "'" + literal + "'";
    literal.clear();
  };
  for (size_t i = 0; i < bytes.size();) {
    size_t best_unit = 0, best_times = 0;
    for (size_t unit = 1; unit <= 8 && i + unit <= bytes.size(); ++unit) {
      const size_t times = Repeats(bytes, i, unit);
      if (times * unit >= 12 && times * unit > best_times * best_unit) {
        best_unit = unit;
        best_times = times;
      }
    }
    size_t ascending = 1;
    while (i + ascending < bytes.size() &&
           static_cast<unsigned char>(bytes[i + ascending]) ==
               static_cast<unsigned char>(bytes[i]) + ascending) {
      ++ascending;
    }
    if (ascending >= 12 && ascending > best_times * best_unit) {
      flush();
      std::string first, last;
      AppendEscaped(first, static_cast<unsigned char>(bytes[i]));
      AppendEscaped(last, static_cast<unsigned char>(bytes[i + ascending - 1]));
      out += (out.empty() ? "'" : "+'") + first + "'..'" + last + "'";
      i += ascending;
      continue;
    }
    if (best_unit == 0) {
      literal_ends_in_hex =
          AppendEscaped(literal, static_cast<unsigned char>(bytes[i++]), literal_ends_in_hex);
      continue;
    }
    flush();
    std::string unit;
    bool hex = false;
    for (size_t k = 0; k < best_unit; ++k) hex = AppendEscaped(unit, static_cast<unsigned char>(bytes[i + k]), hex);
    out += (out.empty() ? "'" : "+'") + unit + "'*" + std::to_string(best_times);
    i += best_unit * best_times;
  }
  flush();
  return out.empty() ? "''" : out;
}

static std::string FormatVariant(const VariantValue& var) {
  if ((var.vt & kVtByRef) != 0) {
    if (var.vt == (kVtVariant | kVtByRef) && var.referent.size() == 1) {
      return "ref:var:" + FormatVariant(var.referent[0]);
    }
    VariantValue target = var;
    target.vt &= static_cast<uint16_t>(~kVtByRef);
    return "ref:" + FormatVariant(target);
  }
  for (const Named& t : kWholeTypes) {
    if (var.vt == t.vt) return std::string(t.name) + ":" + std::to_string(var.integer);
  }
  switch (var.vt) {
    case kVtEmpty: return "empty";
    case kVtNull: return "null";
    case kVtUi8: return "ui8:" + std::to_string(static_cast<uint64_t>(var.integer));
    case kVtDecimal: return "dec:" + DecimalText(var);
    case kVtBool:
      return var.integer == -1 ? "bool:true" : var.integer == 0 ? "bool:false"
                                                                : "bool:" + std::to_string(var.integer);
    case kVtR4: return "r4:" + Real(var.real);
    case kVtR8: return "r8:" + Real(var.real);
    case kVtDate: return "date:" + Real(var.real);
    case kVtCy: return "cy:" + Currency(var.integer);
    case kVtBstr: return "str:" + Quote(var.text);
  }
  return "vt:" + std::to_string(var.vt);
}

std::string FormatValue(const Value& v) {
  switch (v.tag) {
    case Value::kNull: return "@null";
    case Value::kBytes: return Quote(v.bytes);
    case Value::kNumber: return std::to_string(v.number);
    case Value::kVariant: break;
  }
  return FormatVariant(v.variant);
}

std::array<uint8_t, 16> VariantImage(const VariantValue& v) {
  std::array<uint8_t, 16> image{};
  std::memcpy(image.data(), &v.vt, sizeof v.vt);
  auto put = [&image](const auto& value) { std::memcpy(image.data() + 8, &value, sizeof value); };
  switch (v.vt) {
    case kVtI1:
    case kVtUi1: put(static_cast<uint8_t>(v.integer)); break;
    case kVtI2:
    case kVtUi2:
    case kVtBool: put(static_cast<uint16_t>(v.integer)); break;
    case kVtI4:
    case kVtUi4:
    case kVtInt:
    case kVtUint:
    case kVtError: put(static_cast<uint32_t>(v.integer)); break;
    case kVtI8:
    case kVtUi8:
    case kVtCy:
    case kVtDecimal: put(v.integer); break;
    case kVtR4: put(static_cast<float>(v.real)); break;
    case kVtR8:
    case kVtDate: put(v.real); break;
  }
  if (v.vt == kVtDecimal) {
    image[2] = v.scale;
    image[3] = v.negative ? 0x80 : 0;
    std::memcpy(image.data() + 4, &v.high, sizeof v.high);
  }
  return image;
}

}  // namespace tkhost
