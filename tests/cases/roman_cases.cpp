// Behaviour cases of the Roman numerals.  cArabicToRoman takes its number
// as a Variant of any type a Basic program passes; cRomanToArabic gives
// back a Variant of subtype Long.
#include <cstddef>

#include "cases/case.h"

namespace {

using namespace tkcases;

// A numeral of `thousands` "m" followed by tail, built at compile time.
template <size_t N>
struct Numeral {
  char letters[N] = {};
  constexpr std::string_view view() const { return {letters, N}; }
};

template <size_t Thousands, size_t TailSize>
constexpr Numeral<Thousands + TailSize - 1> Ms(const char (&tail)[TailSize]) {
  Numeral<Thousands + TailSize - 1> n;
  for (size_t i = 0; i < Thousands; ++i) n.letters[i] = 'm';
  for (size_t i = 0; i + 1 < TailSize; ++i) n.letters[Thousands + i] = tail[i];
  return n;
}

// The longest numeral that fits the 256-byte working area, the first value
// past it, and larger values that still fit because they have fewer letters.
constexpr auto k245887 = Ms<245>("dccclxxxvii");
constexpr auto k246000 = Ms<246>("");
constexpr auto k256000 = Ms<256>("");
static_assert(k245887.view().size() == 256 && k256000.view().size() == 256);

constexpr Case kArabicToRoman[] = {
    {"cArabicToRoman", {VarI4(1)}, Str("i")},
    {"cArabicToRoman", {VarI4(4)}, Str("iv")},
    {"cArabicToRoman", {VarI4(9)}, Str("ix")},
    {"cArabicToRoman", {VarI4(14)}, Str("xiv")},
    {"cArabicToRoman", {VarI4(40)}, Str("xl")},
    {"cArabicToRoman", {VarI4(90)}, Str("xc")},
    {"cArabicToRoman", {VarI4(400)}, Str("cd")},
    {"cArabicToRoman", {VarI4(888)}, Str("dccclxxxviii")},
    {"cArabicToRoman", {VarI4(1994)}, Str("mcmxciv")},
    {"cArabicToRoman", {VarI4(3999)}, Str("mmmcmxcix")},
    {"cArabicToRoman", {VarI4(4000)}, Str("mmmm")},
    {"cArabicToRoman", {VarI4(10000)}, Str("mmmmmmmmmm")},
    {"cArabicToRoman", {VarI4(0)}, Empty()},
    {"cArabicToRoman", {VarI4(-5)}, Empty()},
    {"cArabicToRoman", {VarI4(INT32_MIN)}, Empty()},

    // Numerals longer than the 256-byte working area give the empty result.
    {"cArabicToRoman", {VarI4(245887)}, Str(k245887.view())},
    {"cArabicToRoman", {VarI4(245888)}, Empty()},
    {"cArabicToRoman", {VarI4(246000)}, Str(k246000.view())},
    {"cArabicToRoman", {VarI4(255999)}, Empty()},
    {"cArabicToRoman", {VarI4(256000)}, Str(k256000.view())},
    {"cArabicToRoman", {VarI4(256001)}, Empty()},
    {"cArabicToRoman", {VarI4(INT32_MAX)}, Empty()},

    // Every type a Basic program passes goes through the platform's
    // conversion to a Long, which rounds half to even.
    {"cArabicToRoman", {VarI2(1994)}, Str("mcmxciv")},
    {"cArabicToRoman", {VarI2(-32768)}, Empty()},
    {"cArabicToRoman", {VarUi1(200)}, Str("cc")},
    {"cArabicToRoman", {VarR8(14.0)}, Str("xiv")},
    {"cArabicToRoman", {VarR8(1.5)}, Str("ii")},
    {"cArabicToRoman", {VarR8(2.5)}, Str("ii")},
    {"cArabicToRoman", {VarR8(3.5)}, Str("iv")},
    {"cArabicToRoman", {VarR8(3.49)}, Str("iii")},
    {"cArabicToRoman", {VarR8(0.5)}, Empty()},
    {"cArabicToRoman", {VarR8(-0.4)}, Empty()},
    {"cArabicToRoman", {VarR4(9.0f)}, Str("ix")},
    {"cArabicToRoman", {VarCy(40000)}, Str("iv")},
    {"cArabicToRoman", {VarCy(25000)}, Str("ii")},
    {"cArabicToRoman", {VarCy(35000)}, Str("iv")},
    {"cArabicToRoman", {VarCy(19999)}, Str("ii")},
    {"cArabicToRoman", {VarDate(1994.0)}, Str("mcmxciv")},
    {"cArabicToRoman", {VarBool(true)}, Empty()},
    {"cArabicToRoman", {VarBool(false)}, Empty()},
    {"cArabicToRoman", {VarStr("12")}, Str("xii")},
    {"cArabicToRoman", {VarStr("1994")}, Str("mcmxciv")},
    {"cArabicToRoman", {VarStr("-5")}, Empty()},
    {"cArabicToRoman", {VarEmpty()}, Empty()},

    // Failed conversions give the empty result, as 0 does.
    {"cArabicToRoman", {VarNull()}, Empty()},
    {"cArabicToRoman", {VarStr("")}, Empty()},
    {"cArabicToRoman", {VarStr("xii")}, Empty()},
    {"cArabicToRoman", {VarStr("12abc")}, Empty()},
    {"cArabicToRoman", {VarStr("3000000000")}, Empty()},
    {"cArabicToRoman", {VarR8(1e10)}, Empty()},
    {"cArabicToRoman", {VarR8(-2147483649.0)}, Empty()},
    {"cArabicToRoman", {VarCy(30000000000000)}, Empty()},
};

constexpr Case kRomanToArabic[] = {
    {"cRomanToArabic", {S("mcmxciv")}, VarLong(1994)},
    {"cRomanToArabic", {S("xiv")}, VarLong(14)},
    {"cRomanToArabic", {S("mmmcmxcix")}, VarLong(3999)},
    {"cRomanToArabic", {S("mmmm")}, VarLong(4000)},
    {"cRomanToArabic", {S("dccclxxxviii")}, VarLong(888)},
    {"cRomanToArabic", {S("cdxliv")}, VarLong(444)},
    {"cRomanToArabic", {S(k245887.view())}, VarLong(245887)},
    {"cRomanToArabic", {S(k256000.view())}, VarLong(256000)},

    // No validation: letters add up and pairs are taken greedily from the left.
    {"cRomanToArabic", {S("iiii")}, VarLong(4)},
    {"cRomanToArabic", {S("im")}, VarLong(1001)},
    {"cRomanToArabic", {S("vx")}, VarLong(5)},
    {"cRomanToArabic", {S("vxi")}, VarLong(6)},
    {"cRomanToArabic", {S("vxx")}, VarLong(15)},
    {"cRomanToArabic", {S("ivx")}, VarLong(14)},
    {"cRomanToArabic", {S("ixv")}, VarLong(14)},
    {"cRomanToArabic", {S("xcl")}, VarLong(140)},
    {"cRomanToArabic", {S("cmd")}, VarLong(1400)},
    {"cRomanToArabic", {S("cdm")}, VarLong(1400)},
    {"cRomanToArabic", {S("dm")}, VarLong(1500)},
    {"cRomanToArabic", {S("ic")}, VarLong(101)},
    {"cRomanToArabic", {S("c")}, VarLong(100)},
    {"cRomanToArabic", {S("x")}, VarLong(10)},
    {"cRomanToArabic", {S("i")}, VarLong(1)},

    // Only the seven lower-case letters count; every other byte is ignored,
    // and a byte between two letters keeps them from pairing.
    {"cRomanToArabic", {S("MCMXCIV")}, VarLong(0)},
    {"cRomanToArabic", {S("x x")}, VarLong(20)},
    {"cRomanToArabic", {S("i\0v"sv)}, VarLong(6)},
    {"cRomanToArabic", {S("c\xE9m")}, VarLong(1100)},
    {"cRomanToArabic", {S("12 abc!")}, VarLong(100)},
    {"cRomanToArabic", {S("\xFF\x80")}, VarLong(0)},
    {"cRomanToArabic", {S("")}, VarLong(0)},
    {"cRomanToArabic", {Null()}, VarLong(0)},
};

const Registered kRegisterArabicToRoman{"encodings_arabic_to_roman", kArabicToRoman};
const Registered kRegisterRomanToArabic{"encodings_roman_to_arabic", kRomanToArabic};

}  // namespace
