// Behaviour cases of the fields, tokens and search family.
#include <array>
#include <cstddef>
#include <string_view>

#include "cases/case.h"

namespace {

using namespace tkcases;

// Long texts built at compile time from repeated pieces.
template <size_t N>
struct Built {
  std::array<char, N> bytes{};
  size_t size = 0;

  constexpr Built& Add(std::string_view piece, size_t times = 1) {
    for (size_t t = 0; t < times; ++t) {
      for (char c : piece) bytes[size++] = c;
    }
    return *this;
  }
  constexpr std::string_view view() const { return {bytes.data(), size}; }
};

// 65536 separators: the count wraps to 0; 32768 of them read as -32768.
constexpr auto k65536Bars = Built<65536>().Add("|", 65536);
constexpr auto k32768Bars = Built<32768>().Add("|", 32768);
constexpr auto k65537Bars = Built<65537>().Add("|", 65537);

constexpr Case kSeparatorFields[] = {
    {"cGet", {S("a|b|c"), N(2)}, Str("b")},
    {"cGet", {S("a|b|c"), N(3)}, Str("c")},
    {"cGet", {S("a|b|c"), N(1)}, Str("a")},
    {"cGet", {S("a|b|c"), N(4)}, Empty()},
    {"cGet", {S("a|b|c"), N(0)}, Empty()},
    {"cGet", {S("a|b|c"), N(-5)}, Empty()},
    {"cGet", {S("a|b|c"), N(INT32_MIN)}, Empty()},
    {"cGet", {S("a|b|c"), N(INT32_MAX)}, Empty()},
    {"cGet", {S("a||c"), N(2)}, Empty()},
    {"cGet", {S("a||c"), N(3)}, Str("c")},
    {"cGet", {S("|a"), N(1)}, Empty()},
    {"cGet", {S("|a"), N(2)}, Str("a")},
    {"cGet", {S("a|b|"), N(3)}, Empty()},
    {"cGet", {S("abc"), N(1)}, Str("abc")},
    {"cGet", {S("abc"), N(2)}, Empty()},
    {"cGet", {S("|"), N(1)}, Empty()},
    {"cGet", {S("|"), N(2)}, Empty()},
    {"cGet", {S("\0x|\xFF\0"sv), N(2)}, Str("\xFF\0"sv)},
    {"cGet", {S(""), N(1)}, Empty()},
    {"cGet", {Null(), N(1)}, Empty()},

    // The default separator: set, used only by cGet, kept when the
    // argument is empty, one byte of a longer argument.
    {"cSetDefaultSeparator", {S(",")}, Nothing()},
    {"cGet", {S("a,b|c"), N(2)}, Str("b|c")},
    {"cGetIn", {S("a,b|c"), S("|"), N(2)}, Str("c")},
    {"cGetInR", {S("a,b|c"), S("|"), N(1)}, Str("c")},
    {"cCount", {S("a,b|c"), S("|")}, Int(1)},
    {"cGetInPart", {S("a,b|c"), S("|"), N(-1)}, Str("a,b")},
    {"cSetDefaultSeparator", {S("")}, Nothing()},
    {"cGet", {S("a,b|c"), N(2)}, Str("b|c")},
    {"cSetDefaultSeparator", {Null()}, Nothing()},
    {"cGet", {S("a,b|c"), N(1)}, Str("a")},
    {"cSetDefaultSeparator", {S(";,")}, Nothing()},
    {"cGet", {S("a;b,c;d"), N(2)}, Str("b,c")},
    {"cSetDefaultSeparator", {S("\0|"sv)}, Nothing()},
    {"cGet", {S("a\0b|c"sv), N(2)}, Str("b|c")},
    {"cSetDefaultSeparator", {S("\xE9")}, Nothing()},
    {"cGet", {S("x\xE9y\xC9z"), N(2)}, Str("y\xC9z")},
    {"cSetDefaultSeparator", {S("|")}, Nothing()},
    {"cGet", {S("a,b|c"), N(2)}, Str("c")},

    {"cGetIn", {S("a|b|c"), S("|"), N(2)}, Str("b")},
    {"cGetIn", {S("a|b|c"), S("|"), N(4)}, Empty()},
    {"cGetIn", {S("a|b|c"), S("|,"), N(3)}, Str("c")},
    {"cGetIn", {S("a,b|c"), S(",|"), N(2)}, Str("b|c")},
    {"cGetIn", {S("a|b|c"), S(""), N(1)}, Empty()},
    {"cGetIn", {S("a|b|c"), Null(), N(1)}, Empty()},
    {"cGetIn", {S("a|b|c"), S("|"), N(0)}, Empty()},
    {"cGetIn", {S("a|b|c"), S("|"), N(INT32_MIN)}, Empty()},
    {"cGetIn", {S("a|b|c"), S("|"), N(INT32_MAX)}, Empty()},
    {"cGetIn", {S("a\0b"sv), S("\0"sv), N(1)}, Str("a")},
    {"cGetIn", {S("a\0b"sv), S("\0"sv), N(2)}, Str("b")},
    {"cGetIn", {S("ABa"), S("a"), N(1)}, Str("AB")},  // no case folding
    {"cGetIn", {S("::"), S(":"), N(2)}, Empty()},
    {"cGetIn", {S("::x"), S(":"), N(3)}, Str("x")},
    {"cGetIn", {Null(), S("|"), N(1)}, Empty()},

    {"cGetInR", {S("a|b|c"), S("|"), N(1)}, Str("c")},
    {"cGetInR", {S("a|b|c"), S("|"), N(2)}, Str("b")},
    {"cGetInR", {S("a|b|c"), S("|"), N(3)}, Str("a")},
    {"cGetInR", {S("a|b|c"), S("|"), N(4)}, Empty()},
    {"cGetInR", {S("ab|"), S("|"), N(1)}, Empty()},
    {"cGetInR", {S("ab|"), S("|"), N(2)}, Str("ab")},
    {"cGetInR", {S("xy"), S("|"), N(1)}, Str("xy")},
    {"cGetInR", {S("xy"), S("|"), N(2)}, Empty()},
    {"cGetInR", {S("|ab|cd|"), S("|"), N(2)}, Str("cd")},  // text order kept
    {"cGetInR", {S("|ab"), S("|"), N(2)}, Empty()},
    {"cGetInR", {S("a|b|c"), S(""), N(1)}, Empty()},
    {"cGetInR", {S("a|b|c"), S("|"), N(0)}, Empty()},
    {"cGetInR", {S("a|b|c"), S("|"), N(INT32_MIN)}, Empty()},
    {"cGetInR", {S("a|b|c"), S("|"), N(INT32_MAX)}, Empty()},
    {"cGetInR", {S("a\0b\0"sv), S("\0x"sv), N(2)}, Str("b")},
    {"cGetInR", {Null(), S("|"), N(1)}, Empty()},

    {"cGetInPart", {S("key=val=x"), S("="), N(-1)}, Str("key")},
    {"cGetInPart", {S("key=val=x"), S("="), N(0)}, Str("val=x")},
    {"cGetInPart", {S("key=val=x"), S("="), N(1)}, Str("val=x")},
    {"cGetInPart", {S("key=val=x"), S("="), N(65535)}, Str("val=x")},  // not a 32-bit -1
    {"cGetInPart", {S("key=val=x"), S("="), N(INT32_MIN)}, Str("val=x")},
    {"cGetInPart", {S("a=b=c"), S("="), N(0)}, Str("b=c")},
    {"cGetInPart", {S("abc"), S("="), N(-1)}, Empty()},
    {"cGetInPart", {S("abc"), S("="), N(0)}, Str("abc")},
    {"cGetInPart", {S("=abc"), S("="), N(-1)}, Empty()},
    {"cGetInPart", {S("=abc"), S("="), N(0)}, Str("abc")},
    {"cGetInPart", {S("abc="), S("="), N(0)}, Empty()},
    {"cGetInPart", {S("abc="), S("="), N(-1)}, Str("abc")},
    {"cGetInPart", {S("abc"), S(""), N(0)}, Empty()},
    {"cGetInPart", {Null(), S("="), N(0)}, Empty()},
    {"cGetInPart", {S("k\0v"sv), S("\0"sv), N(0)}, Str("v")},

    {"cGetInPartR", {S("a.b.c"), S("."), N(-1)}, Str("c")},
    {"cGetInPartR", {S("a.b.c"), S("."), N(0)}, Str("a.b")},
    {"cGetInPartR", {S("a.b.c"), S("."), N(7)}, Str("a.b")},
    {"cGetInPartR", {S("a.b.c"), S("."), N(INT32_MAX)}, Str("a.b")},
    {"cGetInPartR", {S("abc"), S("."), N(-1)}, Str("abc")},
    {"cGetInPartR", {S("abc"), S("."), N(0)}, Empty()},
    {"cGetInPartR", {S("abc."), S("."), N(-1)}, Empty()},
    {"cGetInPartR", {S("abc."), S("."), N(0)}, Str("abc")},
    {"cGetInPartR", {S(".abc"), S("."), N(0)}, Empty()},
    {"cGetInPartR", {S(".abc"), S("."), N(-1)}, Str("abc")},
    {"cGetInPartR", {S("abc"), Null(), N(-1)}, Empty()},
    {"cGetInPartR", {S(""), S("."), N(-1)}, Empty()},

    {"cCount", {S("a|b||c"), S("|")}, Int(3)},
    {"cCount", {S("aXbX"), S("XY")}, Int(2)},
    {"cCount", {S("abc"), S("|")}, Int(0)},
    {"cCount", {S(""), S("|")}, Int(0)},
    {"cCount", {Null(), S("|")}, Int(0)},
    {"cCount", {S("a|b"), S("")}, Int(0)},
    {"cCount", {S("a|b"), Null()}, Int(0)},
    {"cCount", {S("\0\0a\0"sv), S("\0"sv)}, Int(3)},
    {"cCount", {S(k65536Bars.view()), S("|")}, Int(0)},
    {"cCount", {S(k65537Bars.view()), S("|")}, Int(1)},
    {"cCount", {S(k32768Bars.view()), S("|")}, Int(-32768)},
};

const Registered kRegisterSeparatorFields{"fields_separator", kSeparatorFields};

// A token of 3000 bytes, longer than the 2559 bytes a token area would
// hold: it is searched for whole.
constexpr auto kLongToken = Built<3000>().Add("t", 2999).Add("!");
constexpr auto kTextWithLongToken = Built<3010>().Add("<<").Add("t", 2999).Add("!>>");
constexpr auto kTextWithLongTokenCut = Built<3010>().Add("<<").Add("t", 2999).Add("?>>");
constexpr auto kListWithLongToken = Built<3010>().Add("zz|").Add("t", 2999).Add("!");

// Lists longer than 32767 bytes: only their length modulo 65536, read as a
// signed 16-bit number, counts.
constexpr auto kList65537 = Built<65537>().Add("b").Add("z", 65536);          // 1 byte used
constexpr auto kList65536 = Built<65536>().Add("b", 65536);                   // 0: False
constexpr auto kList32768 = Built<32768>().Add("b", 32768);                   // negative
constexpr auto kList32767 = Built<32767>().Add("|", 32765).Add("bc");         // whole
constexpr auto kList98303 = Built<98303>().Add("z|", 16383).Add("x", 65537);  // 32767 used

constexpr Case kTokens[] = {
    {"cOrToken", {S("the quick fox"), S("cat|fox")}, True()},
    {"cOrToken", {S("the quick fox"), S("cat|dog")}, False()},
    {"cAndToken", {S("the quick fox"), S("quick|fox")}, True()},
    {"cAndToken", {S("the quick fox"), S("cat|fox")}, False()},
    {"cAndToken", {S("the quick fox"), S("fox|cat")}, False()},
    {"cOrToken", {S("foxes"), S("fox")}, True()},
    {"cOrToken", {S("Fox"), S("fox")}, False()},
    {"cOrToken", {S("xab"), S("zz|ab")}, True()},
    {"cOrToken", {S("xa"), S("zz|ab")}, False()},
    {"cOrToken", {S("abc"), S("b")}, True()},
    {"cOrToken", {S("abc"), S("abcd")}, False()},
    {"cOrToken", {S("abc"), S("abc")}, True()},
    {"cAndToken", {S("abc"), S("||")}, True()},
    {"cAndToken", {S("abc"), S("|")}, True()},
    {"cOrToken", {S("abc"), S("||")}, False()},
    {"cOrToken", {S("abc"), S("|")}, False()},
    {"cAndToken", {S("abc"), S("|b||")}, True()},
    {"cOrToken", {S("abc"), S("|b||")}, True()},
    {"cOrToken", {S("abc"), S("")}, False()},
    {"cAndToken", {S("abc"), S("")}, False()},
    {"cOrTokenIn", {S("abc"), S(""), S(";")}, False()},
    {"cAndTokenIn", {S("abc"), Null(), S(";")}, False()},
    {"cOrToken", {S(""), S("a")}, False()},
    {"cAndToken", {Null(), S("a")}, False()},
    {"cAndToken", {S(""), S("|")}, False()},
    {"cOrTokenIn", {S(""), S("a"), S("|")}, False()},
    {"cAndTokenIn", {Null(), S("|"), S("|")}, False()},

    // The plain forms divide at "|" whatever the default separator holds.
    {"cOrToken", {S("a,b"), S("a,b")}, True()},
    {"cOrToken", {S("a"), S("a,b")}, False()},
    {"cSetDefaultSeparator", {S(",")}, Nothing()},
    {"cOrToken", {S("a,b"), S("a,b")}, True()},
    {"cOrToken", {S("a"), S("a,b")}, False()},
    {"cAndToken", {S("a"), S("a,b")}, False()},
    {"cOrTokenIn", {S("a,b"), S("x;b"), S("")}, False()},
    {"cSetDefaultSeparator", {S("|")}, Nothing()},

    {"cOrTokenIn", {S("a,b"), S("x;b"), S(";")}, True()},
    {"cOrTokenIn", {S("a,b"), S("x;b"), S("")}, False()},
    {"cOrTokenIn", {S("a,b"), S("x;b"), Null()}, False()},
    {"cOrTokenIn", {S("x;b"), S("x;b"), S("")}, True()},
    {"cOrTokenIn", {S("a,b"), S("x|b"), S("")}, True()},
    {"cOrTokenIn", {S("a,b"), S("x;b"), S(";|")}, True()},
    {"cAndTokenIn", {S("a,b"), S("a;b"), S(";")}, True()},
    {"cAndTokenIn", {S("a,b"), S("a;c"), S(";")}, False()},
    {"cAndTokenIn", {S("abc"), S(";;"), S(";")}, True()},
    {"cOrTokenIn", {S("abc"), S(";;"), S(";")}, False()},
    {"cAndTokenIn", {S("a|b"), S("a|b"), S(";")}, True()},
    {"cAndTokenIn", {S("ab"), S("a\0b"sv), S("\0"sv)}, True()},
    {"cOrTokenIn", {S("xy"), S("a\0y"sv), S("\0"sv)}, True()},

    // Zero bytes: the text is searched up to its first zero byte; a token
    // ends at its first zero byte and one that starts with it is empty.
    {"cOrToken", {S("ab\0cd"sv), S("cd")}, False()},
    {"cOrToken", {S("ab\0cd"sv), S("b")}, True()},
    {"cOrToken", {S("ab\0cd"sv), S("b\0"sv)}, True()},
    {"cOrToken", {S("xyz"), S("y\0q"sv)}, True()},
    {"cAndToken", {S("xyz"), S("\0q|y"sv)}, True()},
    {"cOrToken", {S("xyz"), S("\0y"sv)}, False()},
    {"cAndToken", {S("\0xyz"sv), S("x")}, False()},
    {"cAndToken", {S("\0xyz"sv), S("|")}, True()},
    {"cOrToken", {S("\xE9t\xE9"), S("\xC9|t\xE9")}, True()},

    // Long tokens and long lists.
    {"cOrToken", {S(kTextWithLongToken.view()), S(kLongToken.view())}, True()},
    {"cOrToken", {S(kTextWithLongTokenCut.view()), S(kLongToken.view())}, False()},
    {"cAndToken", {S(kTextWithLongToken.view()), S(kListWithLongToken.view())}, False()},
    {"cOrToken", {S(kTextWithLongToken.view()), S(kListWithLongToken.view())}, True()},
    {"cOrToken", {S("abc"), S(kList65537.view())}, True()},
    {"cOrToken", {S("xyz"), S(kList65537.view())}, False()},
    {"cAndToken", {S("abc"), S(kList65537.view())}, True()},
    {"cOrToken", {S("abc"), S(kList65536.view())}, False()},
    {"cAndToken", {S("abc"), S(kList65536.view())}, False()},
    {"cOrToken", {S("abc"), S(kList32768.view())}, False()},
    {"cAndToken", {S("abc"), S(kList32768.view())}, True()},
    {"cAndToken", {S(""), S(kList32768.view())}, False()},
    {"cOrTokenIn", {S("abc"), S(kList32768.view()), S("b")}, False()},
    {"cAndTokenIn", {S("xyz"), S(kList32768.view()), S("b")}, True()},
    {"cOrToken", {S("abc"), S(kList32767.view())}, True()},
    {"cAndToken", {S("abc"), S(kList32767.view())}, True()},
    {"cAndToken", {S("ab"), S(kList32767.view())}, False()},
    {"cAndToken", {S("z"), S(kList98303.view())}, False()},  // the last 'x' token is cut to 1 byte
    {"cAndToken", {S("zx"), S(kList98303.view())}, True()},

    {"cTokenIn", {S("a, b;c"), S(", ;"), N(1)}, Str("a")},
    {"cTokenIn", {S("a, b;c"), S(", ;"), N(2)}, Empty()},
    {"cTokenIn", {S("a, b;c"), S(", ;"), N(3)}, Str("b")},
    {"cTokenIn", {S("a, b;c"), S(", ;"), N(4)}, Str("c")},
    {"cTokenIn", {S("a, b;c"), S(", ;"), N(5)}, Empty()},
    {"cTokenIn", {S("a, b;c"), S(""), N(1)}, Empty()},
    {"cTokenIn", {S("a, b;c"), Null(), N(1)}, Empty()},
    {"cTokenIn", {S("a, b;c"), S(";;;,,, "), N(4)}, Str("c")},
    {"cTokenIn", {S("a, b;c"), S(", ;"), N(0)}, Empty()},
    {"cTokenIn", {S("a, b;c"), S(", ;"), N(INT32_MIN)}, Empty()},
    {"cTokenIn", {S("a, b;c"), S(", ;"), N(INT32_MAX)}, Empty()},
    {"cTokenIn", {S("abc"), S(";"), N(1)}, Str("abc")},
    {"cTokenIn", {S(";abc;"), S(";"), N(2)}, Str("abc")},
    {"cTokenIn", {S(";abc;"), S(";"), N(3)}, Empty()},
    {"cTokenIn", {S("a\0b\xFF" "c"sv), S("\xFF\0"sv), N(2)}, Str("b")},
    {"cTokenIn", {S("a\0b\xFF" "c"sv), S("\xFF\0"sv), N(3)}, Str("c")},
    {"cTokenIn", {S("AaB"), S("a"), N(2)}, Str("B")},
    {"cTokenIn", {S(""), S(";"), N(1)}, Empty()},
    {"cTokenIn", {Null(), S(";"), N(1)}, Empty()},
    // The default separator plays no part.
    {"cTokenIn", {S("a|b;c"), S(";"), N(1)}, Str("a|b")},
};

const Registered kRegisterTokens{"fields_tokens", kTokens};

// A text of 300 bytes with a search string of 260 bytes inside it: longer
// than 255 bytes, it is still compared whole.
constexpr auto kLongText = Built<300>().Add("-", 20).Add("ab", 130).Add("+", 20);
constexpr auto kLongFind = Built<260>().Add("ab", 130);
constexpr auto kLongFindUpper = Built<260>().Add("AB", 130);
constexpr auto kLongFindOff = Built<260>().Add("ab", 129).Add("aX");
constexpr auto kLongReplaced = Built<60>().Add("-", 20).Add("R").Add("+", 20);
// A one-byte text allows a result of 5 bytes; a four-byte text, 23.
constexpr auto kTwentyThree = Built<23>().Add("x", 23);
constexpr auto kTwentyFour = Built<24>().Add("x", 24);
constexpr auto kNineteen = Built<19>().Add("x", 18).Add("b");

constexpr Case kSearchReplace[] = {
    {"cStringSAR", {S("Hello World"), S("o"), S("0"), N(-1)}, Str("Hell0 W0rld")},
    {"cStringSAR", {S("Hello World"), S("O"), S("0"), N(-1)}, Str("Hello World")},
    {"cStringSAR", {S("Hello World"), S("O"), S("0"), N(0)}, Str("Hell0 W0rld")},
    {"cStringSAR", {S("Hello World"), S("O"), S("0"), N(65536)}, Str("Hell0 W0rld")},  // low 16 bits 0
    {"cStringSAR", {S("Hello World"), S("O"), S("0"), N(1)}, Str("Hello World")},
    {"cStringSAR", {S("Hello World"), S("O"), S("0"), N(-32768)}, Str("Hello World")},
    {"cStringSAR", {S("ABC abc"), S("b"), S("x"), N(0)}, Str("AxC axc")},
    {"cStringSAR", {S("abc"), S("B"), S("XY"), N(0)}, Str("aXYc")},
    {"cStringSAR", {S("aBc ABC"), S("Bc"), S("Zz"), N(0)}, Str("aZz AZz")},
    {"cStringSAR", {S("aBc ABC"), S("Bc"), S("Zz"), N(-1)}, Str("aZz ABC")},
    {"cStringSAR", {S("[\xC9\xE9]"), S("\xE9"), S("e"), N(0)}, Str("[\xC9" "e]")},  // ASCII letters only
    {"cStringSAR", {S("[@`{]"), S("@"), S("at"), N(0)}, Str("[at`{]")},
    {"cStringSAR", {S("aaaa"), S("aa"), S("b"), N(-1)}, Str("bb")},
    {"cStringSAR", {S("aaa"), S("aa"), S("b"), N(-1)}, Str("ba")},
    {"cStringSAR", {S("ab"), S("a"), S("aa"), N(-1)}, Str("aab")},
    {"cStringSAR", {S("abab"), S("ab"), S("abab"), N(-1)}, Str("abababab")},
    {"cStringSAR", {S("a-b-c"), S("-"), S(""), N(-1)}, Str("abc")},
    {"cStringSAR", {S("a-b-c"), S("-"), Null(), N(-1)}, Str("abc")},
    {"cStringSAR", {S("---"), S("-"), S(""), N(-1)}, Empty()},
    {"cStringSAR", {S("ab"), S("abc"), S("x"), N(-1)}, Str("ab")},
    {"cStringSAR", {S("xab"), S("abc"), S("y"), N(-1)}, Str("xab")},
    {"cStringSAR", {S("abc"), S("abc"), S("xyz"), N(-1)}, Str("xyz")},
    {"cStringSAR", {S("abc"), S("abc"), S(""), N(-1)}, Empty()},
    {"cStringSAR", {S(""), S("a"), S("b"), N(-1)}, Empty()},
    {"cStringSAR", {Null(), S("a"), S("b"), N(-1)}, Empty()},
    {"cStringSAR", {S("abc"), S(""), S("x"), N(-1)}, Str("abc")},
    {"cStringSAR", {S("abc"), Null(), S("x"), N(0)}, Str("abc")},
    {"cStringSAR", {S("a\0b"sv), S(""), S("x"), N(-1)}, Str("a\0b"sv)},  // the copy of the text

    // Zero bytes.
    {"cStringSAR", {S("a\0b"sv), S("x"), S("y"), N(-1)}, Str("a")},
    {"cStringSAR", {S("a\0b"sv), S("x"), S("yz"), N(-1)}, Str("ab")},
    {"cStringSAR", {S("a\0b"sv), S("\0"sv), S("-"), N(-1)}, Str("a-b")},
    {"cStringSAR", {S("a\0b\0"sv), S("\0"sv), S("--"), N(-1)}, Str("a--b--")},
    {"cStringSAR", {S("abcb"), S("b"), S("\0"sv), N(-1)}, Str("a")},
    {"cStringSAR", {S("abcb"), S("b"), S("\0z"sv), N(-1)}, Str("ac")},
    {"cStringSAR", {S("abcb"), S("b"), S("y\0z"sv), N(-1)}, Str("aycy")},
    {"cStringSAR", {S("\0abc"sv), S("b"), S("x"), N(-1)}, Empty()},
    {"cStringSAR", {S("\0abc"sv), S("b"), S("xy"), N(-1)}, Str("axyc")},
    // Case-blind matching stops at the text's first zero byte.
    {"cStringSAR", {S("A\0A"sv), S("a"), S("xy"), N(0)}, Str("xyA")},
    {"cStringSAR", {S("A\0a"sv), S("A"), S("xy"), N(0)}, Str("xyxy")},
    {"cStringSAR", {S("Ab\0Ab"sv), S("AB"), S("-"), N(0)}, Str("-Ab")},
    // A search string is compared up to and including its first zero byte;
    // a match still takes its full length of text.
    {"cStringSAR", {S("a\0bc"sv), S("a\0b"sv), S("X"), N(-1)}, Str("Xc")},
    {"cStringSAR", {S("a\0zc"sv), S("a\0b"sv), S("X"), N(-1)}, Str("Xc")},
    {"cStringSAR", {S("a\0"sv), S("a\0b"sv), S("X"), N(-1)}, Str("a")},
    {"cStringSAR", {S("ab"), S("a\0"sv), S("X"), N(-1)}, Str("ab")},
    {"cStringSAR", {S("A\0Q"sv), S("a\0b"sv), S("X"), N(0)}, Str("X")},
    {"cStringSAR", {S("x\0yz"sv), S("\0q"sv), S("-"), N(-1)}, Str("x-z")},
    {"cStringSAR", {S("x\0"sv), S("\0q"sv), S("-"), N(-1)}, Str("x")},

    // Search strings longer than 255 bytes.
    {"cStringSAR", {S(kLongText.view()), S(kLongFind.view()), S("R"), N(-1)}, Str(kLongReplaced.view())},
    {"cStringSAR", {S(kLongText.view()), S(kLongFindUpper.view()), S("R"), N(0)}, Str(kLongReplaced.view())},
    {"cStringSAR", {S(kLongText.view()), S(kLongFindUpper.view()), S("R"), N(-1)}, Str(kLongText.view())},
    {"cStringSAR", {S(kLongText.view()), S(kLongFindOff.view()), S("R"), N(-1)}, Str(kLongText.view())},
    {"cStringSAR", {S(kLongText.view()), S(kLongFindOff.view()), S("R"), N(0)}, Str(kLongText.view())},

    // The output area: six bytes per byte of text, less one.  A longer
    // result gives the copy of the text.
    {"cStringSAR", {S("a"), S("a"), S("12345"), N(-1)}, Str("12345")},
    {"cStringSAR", {S("a"), S("a"), S("123456"), N(-1)}, Str("a")},
    {"cStringSAR", {S("a"), S("A"), S("1234567"), N(0)}, Str("a")},
    {"cStringSAR", {S("aaaa"), S("a"), S("xxxxx"), N(-1)}, Str(kTwentyThree.view().substr(0, 20))},
    {"cStringSAR", {S("aaab"), S("a"), S("xxxxxx"), N(-1)}, Str(kNineteen.view())},
    {"cStringSAR", {S("aaax"), S("a"), S("xxxxxxx"), N(-1)}, Str(kTwentyFour.view().substr(0, 22))},
    {"cStringSAR", {S("aaaa"), S("a"), S("xxxxxx"), N(-1)}, Str("aaaa")},
    {"cStringSAR", {S("aaaa"), S("aa"), S(kTwentyThree.view()), N(-1)}, Str("aaaa")},
    {"cStringSAR", {S("aaaa"), S("aaaa"), S(kTwentyThree.view()), N(-1)}, Str(kTwentyThree.view())},
    {"cStringSAR", {S("aaaa"), S("aaaa"), S(kTwentyFour.view()), N(-1)}, Str("aaaa")},
};

const Registered kRegisterSearchReplace{"fields_search_replace", kSearchReplace};

}  // namespace
