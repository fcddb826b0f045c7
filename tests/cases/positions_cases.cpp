// Behaviour cases of the positions and blocks family.
#include "cases/case.h"

namespace {

using namespace tkcases;

constexpr Case kEnds[] = {
    {"cOneCharFromLeft", {S("XYZ"), N(3)}, Str("Z")},
    {"cOneCharFromLeft", {S("XYZ"), N(1)}, Str("X")},
    {"cOneCharFromLeft", {S("XYZ"), N(4)}, Empty()},
    {"cOneCharFromLeft", {S("XYZ"), N(0)}, Empty()},
    {"cOneCharFromLeft", {S("XYZ"), N(-1)}, Empty()},
    {"cOneCharFromLeft", {S("XYZ"), N(INT32_MIN)}, Empty()},
    {"cOneCharFromLeft", {S("XYZ"), N(INT32_MAX)}, Empty()},
    {"cOneCharFromLeft", {S("a\0b"sv), N(2)}, Str("\0"sv)},
    {"cOneCharFromLeft", {Null(), N(1)}, Empty()},
    {"cOneCharFromRight", {S("XYZ"), N(1)}, Str("Z")},
    {"cOneCharFromRight", {S("XYZ"), N(3)}, Str("X")},
    {"cOneCharFromRight", {S("XYZ"), N(4)}, Empty()},
    {"cOneCharFromRight", {S("XYZ"), N(0)}, Empty()},
    {"cOneCharFromRight", {S("XYZ"), N(INT32_MIN)}, Empty()},
    {"cOneCharFromRight", {Null(), N(1)}, Empty()},

    {"cBlockCharFromLeft", {S("ABCDE"), N(2)}, Str("ABC")},
    {"cBlockCharFromLeft", {S("ABCDE"), N(4)}, Str("A")},
    {"cBlockCharFromLeft", {S("ABCDE"), N(5)}, Empty()},
    {"cBlockCharFromLeft", {S("ABCDE"), N(6)}, Empty()},
    {"cBlockCharFromLeft", {S("ABCDE"), N(0)}, Empty()},
    {"cBlockCharFromLeft", {S("ABCDE"), N(-3)}, Empty()},
    {"cBlockCharFromLeft", {S("ABCDE"), N(INT32_MAX)}, Empty()},
    {"cBlockCharFromLeft", {Null(), N(1)}, Empty()},
    {"cBlockCharFromRight", {S("ABCDE"), N(2)}, Str("CDE")},
    {"cBlockCharFromRight", {S("ABCDE"), N(4)}, Str("E")},
    {"cBlockCharFromRight", {S("ABCDE"), N(5)}, Empty()},
    {"cBlockCharFromRight", {S("ABCDE"), N(6)}, Empty()},
    {"cBlockCharFromRight", {S("ABCDE"), N(0)}, Empty()},
    {"cBlockCharFromRight", {S("ABCDE"), N(INT32_MIN)}, Empty()},
    {"cBlockCharFromRight", {S(""), N(1)}, Empty()},

    {"cScrollL", {S("ABCD")}, Str("BCDA")},
    {"cScrollL", {S("AB")}, Str("BA")},
    {"cScrollL", {S("A")}, Str("A")},
    {"cScrollL", {S("\0x\xFF"sv)}, Str("x\xFF\0"sv)},
    {"cScrollL", {Null()}, Empty()},
    {"cScrollR", {S("ABCD")}, Str("DABC")},
    {"cScrollR", {S("AB")}, Str("BA")},
    {"cScrollR", {S("A")}, Str("A")},
    {"cScrollR", {S("")}, Empty()},

    {"cReverse", {S("A\0B"sv)}, Str("B\0A"sv)},
    {"cReverse", {S("abc")}, Str("cba")},
    {"cReverse", {S("z")}, Str("z")},
    {"cReverse", {Null()}, Empty()},
    {"cReverse", {S("")}, Empty()},

    {"cGetBlock", {S("ABCDEFG"), N(1), N(3)}, Str("ABC")},
    {"cGetBlock", {S("ABCDEFG"), N(2), N(3)}, Str("DEF")},
    {"cGetBlock", {S("ABCDEFG"), N(3), N(3)}, Str("G")},
    {"cGetBlock", {S("ABCDEFG"), N(4), N(3)}, Empty()},
    {"cGetBlock", {S("ABCDEFG"), N(1), N(7)}, Str("ABCDEFG")},
    {"cGetBlock", {S("ABCDEFG"), N(1), N(INT32_MAX)}, Str("ABCDEFG")},
    {"cGetBlock", {S("ABCDEFG"), N(2), N(7)}, Empty()},
    {"cGetBlock", {S("ABCDEFG"), N(0), N(3)}, Empty()},
    {"cGetBlock", {S("ABCDEFG"), N(1), N(0)}, Empty()},
    {"cGetBlock", {S("ABCDEFG"), N(-1), N(-1)}, Empty()},
    {"cGetBlock", {S("ABCDEFG"), N(INT32_MAX), N(INT32_MAX)}, Empty()},
    {"cGetBlock", {S("ABCDEFG"), N(65537), N(65536)}, Empty()},
    {"cGetBlock", {S("ABCDEFG"), N(2), N(INT32_MIN)}, Empty()},
    {"cGetBlock", {Null(), N(1), N(1)}, Empty()},
};

const Registered kRegisterEnds{"positions_ends", kEnds};

}  // namespace
