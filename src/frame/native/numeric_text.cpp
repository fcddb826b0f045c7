#include "frame/native/numeric_text.h"

#include <cstdlib>
#include <string>

#include "frame/chars.h"

namespace twinekit::native {
namespace {

bool IsBlank(OLECHAR c) { return c == ' ' || c == '\t'; }
bool IsDigit(OLECHAR c) { return c >= '0' && c <= '9'; }

// A hexadecimal digit's value, of any radix up to 16; -1 for anything else.
int DigitValue(OLECHAR c) { return c <= 0xFF ? HexDigitValue(static_cast<uint8_t>(c)) : -1; }

// "&H7FFF" and "&O17": the digits are a 32-bit pattern, read as signed.
bool ParseRadix(const OLECHAR* p, const OLECHAR* end, int radix, double* value) {
  if (p == end) return false;
  uint64_t bits = 0;
  for (; p != end; ++p) {
    const int d = DigitValue(*p);
    if (d < 0 || d >= radix) return false;
    bits = bits * static_cast<uint64_t>(radix) + static_cast<uint64_t>(d);
    if (bits > UINT32_MAX) return false;
  }
  // Up to four hex digits make an Integer pattern, more a Long pattern.
  if (bits <= 0xFFFF && radix == 16 && bits > 0x7FFF) {
    *value = static_cast<double>(static_cast<int16_t>(bits));
  } else {
    *value = static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(bits)));
  }
  return true;
}

}  // namespace

bool ParseNumericText(const OLECHAR* text, UINT units, double* value) {
  // No number a Long can hold needs anywhere near this many characters.
  constexpr UINT kLongestText = 4096;
  if (text == nullptr || units > kLongestText) return false;
  const OLECHAR* p = text;
  const OLECHAR* end = text + units;
  while (p != end && IsBlank(*p)) ++p;
  while (end != p && IsBlank(end[-1])) --end;
  if (p == end) return false;

  if (end - p >= 2 && p[0] == '&') {
    if (p[1] == 'H' || p[1] == 'h') return ParseRadix(p + 2, end, 16, value);
    if (p[1] == 'O' || p[1] == 'o') return ParseRadix(p + 2, end, 8, value);
    return false;
  }

  std::string ascii;
  if (*p == '+' || *p == '-') ascii.push_back(static_cast<char>(*p++));
  bool digits = false;
  bool point = false;
  for (; p != end; ++p) {
    if (IsDigit(*p)) {
      digits = true;
      ascii.push_back(static_cast<char>(*p));
    } else if (*p == ',' && digits && !point) {
      continue;  // group separator
    } else if (*p == '.' && !point) {
      point = true;
      ascii.push_back('.');
    } else {
      break;
    }
  }
  if (!digits) return false;
  if (p != end && (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D')) {
    ascii.push_back('e');
    ++p;
    if (p != end && (*p == '+' || *p == '-')) ascii.push_back(static_cast<char>(*p++));
    if (p == end || !IsDigit(*p)) return false;
    for (; p != end && IsDigit(*p); ++p) ascii.push_back(static_cast<char>(*p));
  }
  if (p != end) return false;
  *value = std::strtod(ascii.c_str(), nullptr);
  return true;
}

}  // namespace twinekit::native
