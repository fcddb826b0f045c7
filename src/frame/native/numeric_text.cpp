#include "frame/native/numeric_text.h"

#include <utility>

#include "frame/chars.h"

namespace twinekit::native {
namespace {

constexpr OLECHAR kCurrency = '$';

bool IsBlank(OLECHAR c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(OLECHAR c) { return c >= '0' && c <= '9'; }

// A hexadecimal digit's value, of any radix up to 16; -1 for anything else.
int DigitValue(OLECHAR c) { return c <= 0xFF ? HexDigitValue(static_cast<uint8_t>(c)) : -1; }

// "&H7FFF" and "&O17": the digits are a bit pattern, read as signed, of
// 16 bits for at most four hexadecimal digits, as Basic reads "&HFFFF"
// (-1), otherwise, or after a sign, of 32 bits.
HRESULT LongFromRadix(const OLECHAR* p, const OLECHAR* end, bool sign, bool negative,
                      int32_t* value) {
  int radix = 0;
  if (*p == 'H' || *p == 'h') radix = 16;
  if (*p == 'O' || *p == 'o') radix = 8;
  if (radix == 0 || ++p == end) return DISP_E_TYPEMISMATCH;
  const bool integer_pattern = radix == 16 && end - p <= 4 && !sign;
  uint64_t bits = 0;
  for (; p != end; ++p) {
    const int d = DigitValue(*p);
    if (d < 0 || d >= radix) return DISP_E_TYPEMISMATCH;
    bits = bits * static_cast<uint64_t>(radix) + static_cast<uint64_t>(d);
    if (bits > UINT32_MAX) return DISP_E_OVERFLOW;
  }
  int64_t pattern = integer_pattern ? static_cast<int16_t>(bits)
                                    : static_cast<int32_t>(static_cast<uint32_t>(bits));
  if (negative) pattern = -pattern;
  if (!std::in_range<int32_t>(pattern)) return DISP_E_OVERFLOW;
  *value = static_cast<int32_t>(pattern);
  return S_OK;
}

// The sign, at most once, and the currency symbol, at most once before the
// number and once after it.
struct Marks {
  bool sign = false, negative = false;

  // Takes a sign or the currency symbol at p, and the blanks after it.
  bool Take(const OLECHAR*& p, const OLECHAR* end, bool& currency) {
    if ((*p == '+' || *p == '-') && !sign) {
      sign = true;
      negative = *p == '-';
    } else if (*p == kCurrency && !currency) {
      currency = true;
    } else {
      return false;
    }
    for (++p; p != end && IsBlank(*p); ++p) {
    }
    return true;
  }
};

// A decimal number: 0.digits times ten to the power point, digits without
// leading zeros.  No Long has more than 10 digits, so the rounding needs
// the first 11 and whether any digit after those is not 0.
struct Decimal {
  static constexpr int kKept = 11;
  char digits[kKept] = {};
  int count = 0;
  bool more = false;  // a non-zero digit after the kept ones
  int64_t point = 0;

  void Append(OLECHAR digit) {
    if (count < kKept) digits[count++] = static_cast<char>(digit - '0');
    else more = more || digit != '0';
  }
  int Digit(int64_t i) const { return i < count ? digits[i] : 0; }
};

// Reads digits, group separators, a fraction and an exponent from p.
bool ParseDecimal(const OLECHAR*& p, const OLECHAR* end, bool exponent_allowed, Decimal* out) {
  bool any_digit = false, fraction = false;
  for (; p != end; ++p) {
    if (IsDigit(*p)) {
      any_digit = true;
      if (!fraction) ++out->point;
      if (out->count != 0 || *p != '0') out->Append(*p);
      else --out->point;  // a zero before the first significant digit
    } else if (*p == ',' && any_digit) {
      continue;  // group separator
    } else if (*p == '.' && !fraction) {
      fraction = true;
    } else {
      break;
    }
  }
  if (!any_digit) return false;
  if (p == end || (*p != 'e' && *p != 'E') || !exponent_allowed) return true;
  ++p;
  bool minus = false;
  if (p != end && (*p == '+' || *p == '-')) minus = *p++ == '-';
  if (p == end || !IsDigit(*p)) return false;
  int64_t exponent = 0;
  for (; p != end && IsDigit(*p); ++p) {
    if (exponent < 100000) exponent = exponent * 10 + (*p - '0');  // far past any Long
  }
  out->point += minus ? -exponent : exponent;
  return true;
}

// Rounds 0.digits x 10^point to a whole number, half to even.
HRESULT RoundToLong(const Decimal& d, bool negative, int32_t* value) {
  if (d.count == 0) {
    *value = 0;
    return S_OK;
  }
  if (d.point > 10) return DISP_E_OVERFLOW;
  int64_t whole = 0;
  for (int64_t i = 0; i < d.point; ++i) whole = whole * 10 + d.Digit(i);
  if (d.point >= 0) {
    const int dropped = d.Digit(d.point);
    bool more = d.more;
    for (int64_t i = d.point + 1; i < d.count; ++i) more = more || d.Digit(i) != 0;
    if (dropped > 5 || (dropped == 5 && (more || whole % 2 != 0))) ++whole;
  }
  if (negative) whole = -whole;
  if (!std::in_range<int32_t>(whole)) return DISP_E_OVERFLOW;
  *value = static_cast<int32_t>(whole);
  return S_OK;
}

}  // namespace

HRESULT LongFromNumericText(const OLECHAR* text, UINT units, int32_t* value) {
  if (text == nullptr) return DISP_E_TYPEMISMATCH;
  const OLECHAR* p = text;
  const OLECHAR* end = text;
  while (end != text + units && *end != 0) ++end;  // the text ends at a zero character
  while (p != end && IsBlank(*p)) ++p;
  while (end != p && IsBlank(end[-1])) --end;
  if (p == end) return DISP_E_TYPEMISMATCH;

  const bool parenthesized = *p == '(';
  if (parenthesized) {
    if (end[-1] != ')') return DISP_E_TYPEMISMATCH;
    for (++p, --end; p != end && IsBlank(*p); ++p) {
    }
  }
  Marks marks;
  bool currency_before = false, currency_after = false;
  while (p != end && marks.Take(p, end, currency_before)) {
  }
  if (end - p >= 2 && p[0] == '&' && !currency_before && !parenthesized) {
    return LongFromRadix(p + 1, end, marks.sign, marks.negative, value);
  }
  Decimal decimal;
  if (!ParseDecimal(p, end, !currency_before, &decimal)) return DISP_E_TYPEMISMATCH;
  while (p != end && IsBlank(*p)) ++p;
  while (p != end && marks.Take(p, end, currency_after)) {
  }
  if (p != end || (parenthesized && marks.sign)) return DISP_E_TYPEMISMATCH;
  return RoundToLong(decimal, parenthesized || marks.negative, value);
}

}  // namespace twinekit::native
