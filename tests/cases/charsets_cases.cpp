// Behaviour cases of the character sets family.
#include <array>
#include <cstddef>

#include "cases/case.h"

namespace {

using namespace tkcases;

// Every byte value once, in order: sets at and past the 128-byte limit of
// cCheckChars.
constexpr std::array<char, 256> MakeAllBytes() {
  std::array<char, 256> all{};
  for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<char>(i);
  return all;
}
constexpr std::array<char, 256> kAllBytes = MakeAllBytes();
constexpr std::string_view kAll{kAllBytes.data(), kAllBytes.size()};
constexpr std::string_view kFirst128 = kAll.substr(0, 128);
constexpr std::string_view kFirst129 = kAll.substr(0, 129);
constexpr std::string_view kLast128 = kAll.substr(128);

constexpr Case kChange[] = {
    {"cChangeChars", {S("hello world"), S("lo"), S("01x")}, True().After("he001 w1r0d")},
    {"cChangeChars", {S("hello world"), S("lox"), S("01")}, True().After("he001 w1r0d")},
    // Pairs apply in list order and a changed byte meets the later pairs.
    {"cChangeChars", {S("abcabc"), S("ab"), S("bc")}, True().After("cccccc")},
    {"cChangeChars", {S("abcabc"), S("ba"), S("cb")}, True().After("bccbcc")},
    {"cChangeChars", {S("abab"), S("ab"), S("ba")}, True().After("aaaa")},
    {"cChangeChars", {S("aaa"), S("aa"), S("xy")}, True().After("xxx")},
    {"cChangeChars", {S("abc"), S("aba"), S("xyz")}, True().After("xyc")},
    {"cChangeChars", {S("a\0b\xFF"sv), S("\0\xFF"sv), S("\xFF\0"sv)}, True().After("a\0b\0"sv)},
    {"cChangeChars", {S("\x80\x81"), S("\x81\x80"), S("\x80\x7F")}, True().After("\x7F\x7F")},
    {"cChangeChars", {S("xyz"), S("q"), S("r")}, True().After("xyz")},
    {"cChangeChars", {S("hello"), S(""), S("x")}, False().After("hello")},
    {"cChangeChars", {S("hello"), S("h"), S("")}, False().After("hello")},
    {"cChangeChars", {S("hello"), Null(), S("x")}, False().After("hello")},
    {"cChangeChars", {S("hello"), S("h"), Null()}, False().After("hello")},
    {"cChangeChars", {S(""), S("a"), S("b")}, False().After("")},
    {"cChangeChars", {Null(), S("a"), S("b")}, False()},

    {"cChangeCharsUntil", {S("a-b-c;d-e"), S("-;"), S("+:"), S(";x")}, True().After("a+b+c;d-e")},
    {"cChangeCharsUntil", {S(";a-b"), S("-"), S("+"), S(";")}, True().After(";a-b")},
    {"cChangeCharsUntil", {S("a-b"), S("-"), S("+"), S(";")}, True().After("a+b")},
    // A byte that translation turns into the stop byte does not stop the walk.
    {"cChangeCharsUntil", {S("aab;a"), S("a"), S(";"), S(";")}, True().After(";;b;a")},
    {"cChangeCharsUntil", {S("abcabc"), S("ab"), S("bc"), S("c")}, True().After("cccabc")},
    {"cChangeCharsUntil", {S("ab\0ab"sv), S("ab"), S("xy"), S("\0"sv)}, True().After("xy\0ab"sv)},
    {"cChangeCharsUntil", {S("a\0b"sv), S("\0"sv), S("z"), S("\xFF")}, True().After("azb")},
    {"cChangeCharsUntil", {S("abc"), S("a"), S("x"), S("")}, False().After("abc")},
    {"cChangeCharsUntil", {S("abc"), S("a"), S("x"), Null()}, False().After("abc")},
    {"cChangeCharsUntil", {S("abc"), S(""), S("x"), S("c")}, False().After("abc")},
    {"cChangeCharsUntil", {S("abc"), S("a"), Null(), S("c")}, False().After("abc")},
    {"cChangeCharsUntil", {Null(), S("a"), S("x"), S("c")}, False()},
};

constexpr Case kFilters[] = {
    {"cCheckChars", {S("hello"), S("leh")}, True()},
    {"cCheckChars", {S("hello"), S("lex")}, False()},
    {"cCheckChars", {S("hello"), S("ll")}, True()},
    {"cCheckChars", {S("hello"), S("olleholleh")}, True()},
    {"cCheckChars", {S("a\0"sv), S("a")}, True()},
    {"cCheckChars", {S("a\0"sv), S("\0a"sv)}, True()},
    {"cCheckChars", {S("abc"), S("\0"sv)}, False()},
    {"cCheckChars", {S("\x80z\xFF"), S("\xFF\x80")}, True()},
    {"cCheckChars", {S("hello"), S("H")}, False()},
    {"cCheckChars", {S(kAll), S(kFirst128)}, True()},
    {"cCheckChars", {S(kAll), S(kLast128)}, True()},
    {"cCheckChars", {S(kAll), S(kFirst129)}, False()},
    {"cCheckChars", {S(kAll), S(kAll)}, False()},
    {"cCheckChars", {S(kFirst128.substr(1)), S(kFirst128)}, False()},
    {"cCheckChars", {S(""), S("a")}, False()},
    {"cCheckChars", {S("a"), S("")}, False()},
    {"cCheckChars", {Null(), S("a")}, False()},
    {"cCheckChars", {S("a"), Null()}, False()},

    {"cFilterChars", {S("a-b c"), S("- ")}, Str("abc")},
    {"cFilterChars", {S("a-b c"), S(" -- ")}, Str("abc")},
    {"cFilterChars", {S("----"), S("-")}, Empty()},
    {"cFilterChars", {S("a\0b\0"sv), S("\0"sv)}, Str("ab")},
    {"cFilterChars", {S("\xFF" "a\x80"), S("\x80\xFF")}, Str("a")},
    {"cFilterChars", {S("Abc"), S("a")}, Str("Abc")},
    {"cFilterChars", {S("a-b"), S("")}, Str("a-b")},
    {"cFilterChars", {S("a-b"), Null()}, Str("a-b")},
    {"cFilterChars", {S(""), S("-")}, Empty()},
    {"cFilterChars", {Null(), S("-")}, Empty()},
    {"cFilterChars", {S(kAll), S(kFirst128)}, Str(kLast128)},

    {"cFilterNotChars", {S("a1b2c3"), S("0123456789")}, Str("123")},
    {"cFilterNotChars", {S("abc"), S("0123456789")}, Empty()},
    {"cFilterNotChars", {S("\0\xFF" "a\0"sv), S("\xFF\0"sv)}, Str("\0\xFF\0"sv)},
    {"cFilterNotChars", {S("a1b2"), S("")}, Str("a1b2")},
    {"cFilterNotChars", {S("a1b2"), Null()}, Str("a1b2")},
    {"cFilterNotChars", {S(""), S("1")}, Empty()},
    {"cFilterNotChars", {Null(), S("1")}, Empty()},
    {"cFilterNotChars", {S(kAll), S(kLast128)}, Str(kLast128)},

    {"cFilterFirstChars", {S("Mr Smith"), S("Mr ")}, Str("Smith")},
    {"cFilterFirstChars", {S("Mrs Smith"), S("Mr ")}, Str("Mrs Smith")},
    {"cFilterFirstChars", {S("Mr Mr X"), S("Mr ")}, Str("Mr X")},
    {"cFilterFirstChars", {S("Mr"), S("Mr")}, Empty()},
    {"cFilterFirstChars", {S("ab"), S("abc")}, Str("ab")},
    {"cFilterFirstChars", {S("xab"), S("ab")}, Str("xab")},
    {"cFilterFirstChars", {S("mr x"), S("Mr ")}, Str("mr x")},
    {"cFilterFirstChars", {S("\0\0x"sv), S("\0"sv)}, Str("\0x"sv)},
    {"cFilterFirstChars", {S("\0x"sv), S("\0y"sv)}, Str("\0x"sv)},
    {"cFilterFirstChars", {S("abc"), S("")}, Str("abc")},
    {"cFilterFirstChars", {S("abc"), Null()}, Str("abc")},
    {"cFilterFirstChars", {S(""), S("a")}, Empty()},
    {"cFilterFirstChars", {Null(), S("a")}, Empty()},
};

constexpr Case kBlocks[] = {
    {"cFilterBlocks", {S("a(b)c(d"), S("()")}, Str("ac")},
    {"cFilterBlocks", {S("x)y"), S("()")}, Str("x)y")},
    {"cFilterBlocks", {S("(a(b)c)d"), S("()")}, Str("c)d")},
    {"cFilterBlocks", {S("a)b(c)d"), S("()")}, Str("a)bd")},
    {"cFilterBlocks", {S("(abc)"), S("()")}, Empty()},
    {"cFilterBlocks", {S("a[b]c"), S("[]x")}, Str("ac")},
    {"cFilterBlocks", {S("a'b'c'd"), S("'")}, Str("ac")},
    {"cFilterBlocks", {S("a''b"), S("'")}, Str("ab")},
    {"cFilterBlocks", {S("a*b*c"), S("**")}, Str("ac")},
    {"cFilterBlocks", {S("a*b*c*d*e"), S("*")}, Str("ace")},
    {"cFilterBlocks", {S("a\0b\0c"sv), S("\0"sv)}, Str("ac")},
    {"cFilterBlocks", {S("a\xFF" "b\x80" "c"), S("\xFF\x80")}, Str("ac")},
    {"cFilterBlocks", {S("a(b)c"), S("")}, Str("a(b)c")},
    {"cFilterBlocks", {S("a(b)c"), Null()}, Str("a(b)c")},
    {"cFilterBlocks", {S(""), S("()")}, Empty()},
    {"cFilterBlocks", {Null(), S("()")}, Empty()},

    {"cInsertByMask", {S("(###) ###-####"), S(""), S("5551234567")}, Str("(555) 123-4567")},
    {"cInsertByMask", {S("(###) ###-####"), Null(), S("55512")}, Str("(555) 12 -    ")},
    {"cInsertByMask", {S("?\?/?\?/????"), S("?"), S("31121999xx")}, Str("31/12/1999")},
    {"cInsertByMask", {S("?-#"), S("?#"), S("12")}, Str("1-#")},
    {"cInsertByMask", {S("a\0b\0"sv), S("\0"sv), S("\xFF")}, Str("a\xFF" "b ")},
    {"cInsertByMask", {S("abc"), S(""), S("xyz")}, Str("abc")},
    {"cInsertByMask", {S("##"), S(""), S("")}, Str("##")},
    {"cInsertByMask", {S("##"), S(""), Null()}, Str("##")},
    {"cInsertByMask", {S(""), S(""), S("12")}, Empty()},
    {"cInsertByMask", {Null(), S("#"), S("12")}, Empty()},

    {"cInsertBlocks", {S("Dear ~, your ~ is ready."), S("John~order")},
     Str("Dear John, your order is ready.")},
    {"cInsertBlocks", {S("~-~-~"), S("a~~c")}, Str("a--c")},
    {"cInsertBlocks", {S("~ and ~ and ~"), S("x~y")}, Str("x and y and ")},
    {"cInsertBlocks", {S("~x~"), S("ab")}, Str("abx")},
    {"cInsertBlocks", {S("~x~"), S("ab~")}, Str("abx")},
    {"cInsertBlocks", {S("~|~|~"), S("~")}, Str("||")},
    {"cInsertBlocks", {S("~"), S("a~b~c")}, Str("a")},
    {"cInsertBlocks", {S("abc"), S("x~y")}, Str("abc")},
    {"cInsertBlocks", {S("~\0~"sv), S("\0~\xFF"sv)}, Str("\0\0\xFF"sv)},
    {"cInsertBlocks", {S("a~b"), S("")}, Str("a~b")},
    {"cInsertBlocks", {S("a~b"), Null()}, Str("a~b")},
    {"cInsertBlocks", {S(""), S("x")}, Empty()},
    {"cInsertBlocks", {Null(), S("x")}, Empty()},

    {"cInsertBlocksBy", {S("A*B*C"), S("1*2*3"), S("*")}, Str("A1B2C")},
    {"cInsertBlocksBy", {S("A*B*C"), S("1*2*3"), S("*~")}, Str("A1B2C")},
    {"cInsertBlocksBy", {S("~-~"), S("a~b"), S("")}, Str("a-b")},
    {"cInsertBlocksBy", {S("~-~"), S("a~b"), Null()}, Str("a-b")},
    {"cInsertBlocksBy", {S("~-*"), S("a~b*c"), S("*")}, Str("~-a~b")},
    {"cInsertBlocksBy", {S("x\0y\0"sv), S("1\0" "2"sv), S("\0"sv)}, Str("x1y2")},
    {"cInsertBlocksBy", {S("A*B"), S(""), S("*")}, Str("A*B")},
    {"cInsertBlocksBy", {S(""), S("1"), S("*")}, Empty()},
    {"cInsertBlocksBy", {Null(), S("1"), Null()}, Empty()},
};

// The clock fixes the seed: seconds since 1970, or -1 (all bits) for a time
// past 2038.
constexpr Case kMix[] = {
    {"cMixChars", {S("abcdef")}, Str("afebcd"), 1},
    {"cMixChars", {S("ab")}, Str("ba"), 1},
    {"cMixChars", {S("abcdef")}, Str("becdaf"), 0},
    {"cMixChars", {S("ab")}, Str("ab"), 0},
    {"cMixChars", {S("a")}, Str("a"), 1},
    {"cMixChars", {S("\xFF")}, Str("\xFF"), 0},
    // The working copy ends at the first zero byte: 'cd' is lost.
    {"cMixChars", {S("ab\0cd"sv)}, Str("\0a\0\0b"sv), 1},
    {"cMixChars", {S("ab\0cd"sv)}, Str("\0b\0a\0"sv), 0},
    {"cMixChars", {S("The quick brown fox")}, Str("okb eci fhroqwuT nx"), 1700000000},
    {"cMixChars", {S("0123456789")}, Str("3264189705"), 2147483647},
    {"cMixChars", {S("0123456789")}, Str("3264189705"), 4000000000},
    {"cMixChars", {S("")}, Empty(), 1},
    {"cMixChars", {Null()}, Empty(), 1},
};

const Registered kRegisterChange{"charsets_change", kChange};
const Registered kRegisterFilters{"charsets_filters", kFilters};
const Registered kRegisterBlocks{"charsets_blocks", kBlocks};
const Registered kRegisterMix{"charsets_mix", kMix};

}  // namespace
