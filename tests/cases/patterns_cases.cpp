// Behaviour cases of the pattern matching family.  Both exports take the
// text first, then the pattern.
#include "cases/case.h"

namespace {

using namespace tkcases;

constexpr Case kPlain[] = {
    {"cPatternMatch", {S(""), S("")}, True()},
    {"cPatternMatch", {S("abc"), S("")}, False()},
    {"cPatternMatch", {S(""), S("*")}, True()},
    {"cPatternMatch", {S("abc"), S("*")}, True()},
    {"cPatternMatch", {S(""), S("*?")}, False()},
    {"cPatternMatch", {S("a"), S("*?")}, True()},
    {"cPatternMatch", {S("ab"), S("*?")}, True()},
    {"cPatternMatch", {S("abc"), S("a*c")}, True()},
    {"cPatternMatch", {S("abcb"), S("a*c")}, False()},
    {"cPatternMatch", {S("aab"), S("*ab")}, True()},
    {"cPatternMatch", {S("xaxb"), S("*a*b")}, True()},
    {"cPatternMatch", {S("abc"), S("a?c")}, True()},
    {"cPatternMatch", {S("ac"), S("a?c")}, False()},
    {"cPatternMatch", {S("a"), S("?")}, True()},
    {"cPatternMatch", {S(""), S("?")}, False()},
    {"cPatternMatch", {S("ABC"), S("abc")}, False()},
    {"cPatternMatch", {S("\xE9\xFF"), S("\xE9*")}, True()},
    // The byte after a "*" always goes with it, even a second "*".
    {"cPatternMatch", {S("abc"), S("**")}, False()},
    {"cPatternMatch", {S("ab*"), S("**")}, True()},
    {"cPatternMatch", {S("*"), S("***")}, True()},
    {"cPatternMatch", {S("x*yz"), S("***")}, True()},
    {"cPatternMatch", {S(""), S("***")}, False()},
    // No sets, escapes or hex pairs in the plain form.
    {"cPatternMatch", {S("a"), S("[a]")}, False()},
    {"cPatternMatch", {S("[a]"), S("[a]")}, True()},
    {"cPatternMatch", {S("\\x"), S("\\?")}, True()},
    {"cPatternMatch", {S("A"), S("~41")}, False()},
    // Both arguments end at their first zero byte; null reads as empty.
    {"cPatternMatch", {S("ab\0zz"sv), S("ab")}, True()},
    {"cPatternMatch", {S("ab"), S("ab\0zz"sv)}, True()},
    {"cPatternMatch", {S("a\0b"sv), S("*?\0?"sv)}, True()},
    {"cPatternMatch", {S("\0a"sv), S("")}, True()},
    {"cPatternMatch", {Null(), Null()}, True()},
    {"cPatternMatch", {Null(), S("*")}, True()},
    {"cPatternMatch", {Null(), S("?")}, False()},
    {"cPatternMatch", {S("x"), Null()}, False()},
};

constexpr Case kExtendedMatches[] = {
    // Without "*", "?", "[" or "\" the text is not looked at.
    {"cPatternExtMatch", {S("abc"), S("abc")}, Int(1)},
    {"cPatternExtMatch", {S("xyz"), S("abc")}, Int(1)},
    {"cPatternExtMatch", {S("A"), S("~41")}, Int(1)},
    {"cPatternExtMatch", {S("x"), S("")}, Int(1)},
    {"cPatternExtMatch", {S(""), S("")}, Int(1)},
    {"cPatternExtMatch", {S("x"), Null()}, Int(1)},
    {"cPatternExtMatch", {S("a"), S("ab\0*"sv)}, Int(1)},

    {"cPatternExtMatch", {S(""), S("*")}, Int(-1)},
    {"cPatternExtMatch", {Null(), S("*")}, Int(-1)},
    {"cPatternExtMatch", {S("abc"), S("[a-c]bc")}, Int(-1)},
    {"cPatternExtMatch", {S("xbc"), S("[!a-c]bc")}, Int(-1)},
    {"cPatternExtMatch", {S("aXb"), S("a[^a-z]b")}, Int(-1)},
    {"cPatternExtMatch", {S("b"), S("[z-a]")}, Int(-1)},
    {"cPatternExtMatch", {S("-"), S("[a-b-c]")}, Int(-1)},
    {"cPatternExtMatch", {S("c"), S("[a-b-c]")}, Int(-1)},
    {"cPatternExtMatch", {S("-"), S("[-a]")}, Int(-1)},
    {"cPatternExtMatch", {S("*"), S("\\*")}, Int(-1)},
    {"cPatternExtMatch", {S("\\"), S("\\\\")}, Int(-1)},
    {"cPatternExtMatch", {S("A"), S("~41*")}, Int(-1)},
    {"cPatternExtMatch", {S("S"), S("~ZZ*")}, Int(-1)},
    {"cPatternExtMatch", {S("]"), S("[~5D]")}, Int(-1)},
    {"cPatternExtMatch", {S("]"), S("[\\]]")}, Int(-1)},
    {"cPatternExtMatch", {S("xyz"), S("*[!x]")}, Int(-1)},
    {"cPatternExtMatch", {S("xyz"), S("x*y*z*")}, Int(-1)},
    {"cPatternExtMatch", {S("a"), S("a*")}, Int(-1)},
    {"cPatternExtMatch", {S("a"), S("*?")}, Int(-1)},
    {"cPatternExtMatch", {S("xxA"), S("*~41")}, Int(-1)},
    {"cPatternExtMatch", {S("a["), S("*\\[")}, Int(-1)},
    {"cPatternExtMatch", {S("b"), S("[a-\\~62]")}, Int(-1)},
    {"cPatternExtMatch", {S("~x"), S("[a\\~]x")}, Int(-1)},
    {"cPatternExtMatch", {S("\xE9x"), S("\xE9?")}, Int(-1)},
    // Ranges order bytes as signed numbers: 0x80-0xFF come below 0x00.
    {"cPatternExtMatch", {S("\xF0"), S("[a-\xE9]")}, Int(-1)},
    {"cPatternExtMatch", {S("\x01"), S("[a-\xE9]")}, Int(-1)},
    {"cPatternExtMatch", {S("b"), S("[a-\xE9]")}, Int(13)},
    {"cPatternExtMatch", {S("Q"), S("[\x7F-\x80]")}, Int(-1)},
    {"cPatternExtMatch", {S("\xE9"), S("[~80-~7F]")}, Int(-1)},
    // Zero bytes end both arguments.
    {"cPatternExtMatch", {S("a\0b"sv), S("?")}, Int(-1)},
    {"cPatternExtMatch", {S("a\0b"sv), S("?\0?"sv)}, Int(-1)},
};

constexpr Case kExtendedFailures[] = {
    {"cPatternExtMatch", {S("abc"), S("a?d")}, Int(14)},
    {"cPatternExtMatch", {S("a"), S("\\*")}, Int(14)},
    {"cPatternExtMatch", {S("Ab"), S("[a-z]b")}, Int(13)},
    {"cPatternExtMatch", {S("a"), S("[!a]")}, Int(13)},
    {"cPatternExtMatch", {S("b"), S("[!a-c]")}, Int(13)},
    {"cPatternExtMatch", {S("c"), S("[a-\\~62]")}, Int(13)},
    {"cPatternExtMatch", {S("B"), S("~41*")}, Int(17)},
    {"cPatternExtMatch", {S("ab"), S("?~G1")}, Int(17)},
    {"cPatternExtMatch", {S("abc"), S("a?")}, Int(11)},
    {"cPatternExtMatch", {S("ab"), S("?")}, Int(11)},
    // 12: the text ended first, and the answer of every "*" that fails.
    {"cPatternExtMatch", {S(""), S("?")}, Int(12)},
    {"cPatternExtMatch", {Null(), S("?")}, Int(12)},
    {"cPatternExtMatch", {S("zz"), S("*b")}, Int(12)},
    {"cPatternExtMatch", {S("abc"), S("*x")}, Int(12)},
    {"cPatternExtMatch", {S("xxB"), S("*~41")}, Int(12)},
    {"cPatternExtMatch", {S("a"), S("a**")}, Int(12)},
    {"cPatternExtMatch", {S("a"), S("*??")}, Int(12)},
    {"cPatternExtMatch", {S("ba"), S("*a**")}, Int(12)},
    {"cPatternExtMatch", {S("aXa"), S("*a*b")}, Int(12)},
    {"cPatternExtMatch", {S("a"), S("?~zz")}, Int(12)},
    // A trial that runs out of text ends the search, although a later one
    // (where the set swallows the rest of the pattern) would match.
    {"cPatternExtMatch", {S("~a"), S("*[a\\~]a]")}, Int(12)},
    {"cPatternExtMatch", {S("a"), S("*[a\\~]a]")}, Int(-1)},
    // The end of the text comes before a malformed element is seen.
    {"cPatternExtMatch", {S(""), S("\\")}, Int(12)},
    {"cPatternExtMatch", {S(""), S("[]")}, Int(12)},
    {"cPatternExtMatch", {S(""), S("[!]")}, Int(12)},
    {"cPatternExtMatch", {S(""), S("a[")}, Int(12)},
};

constexpr Case kExtendedBadPatterns[] = {
    {"cPatternExtMatch", {S("x"), S("[]")}, Int(5)},
    {"cPatternExtMatch", {S("x"), S("[!]")}, Int(0)},
    {"cPatternExtMatch", {S("x"), S("[^]")}, Int(0)},
    {"cPatternExtMatch", {S("x"), S("[a")}, Int(4)},
    {"cPatternExtMatch", {S("a"), S("[a")}, Int(4)},
    {"cPatternExtMatch", {S("ab"), S("*[")}, Int(4)},
    {"cPatternExtMatch", {S("x"), S("[a-")}, Int(3)},
    {"cPatternExtMatch", {S("x"), S("[a-]")}, Int(3)},
    {"cPatternExtMatch", {S("x"), S("\\")}, Int(2)},
    {"cPatternExtMatch", {S("abc"), S("*\\")}, Int(2)},
    {"cPatternExtMatch", {S("x"), S("[\\")}, Int(2)},
    {"cPatternExtMatch", {S("x"), S("[~5]")}, Int(0)},
    {"cPatternExtMatch", {S("abc"), S("a?~4")}, Int(7)},
    {"cPatternExtMatch", {S("ax"), S("[a\\~]x")}, Int(0)},
    // A set whose last member is a range and that is never closed: the
    // check stops at the end of the pattern and names the open set.
    {"cPatternExtMatch", {S("b"), S("[a-c")}, Int(4)},
    {"cPatternExtMatch", {S("z"), S("[a-c")}, Int(4)},
    {"cPatternExtMatch", {S("z"), S("?[a-\\c")}, Int(12)},
    {"cPatternExtMatch", {S("zz"), S("?[a-\\c")}, Int(4)},
    // A fault the matcher never reaches is not reported.
    {"cPatternExtMatch", {S("xy"), S("?z[")}, Int(14)},
    {"cPatternExtMatch", {S("xy"), S("?y[")}, Int(12)},
};

const Registered kRegisterPlain{"patterns_plain", kPlain};
const Registered kRegisterExtendedMatches{"patterns_extended_matches", kExtendedMatches};
const Registered kRegisterExtendedFailures{"patterns_extended_failures", kExtendedFailures};
const Registered kRegisterExtendedBad{"patterns_extended_bad", kExtendedBadPatterns};

}  // namespace
