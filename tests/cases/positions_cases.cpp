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

constexpr Case kEdits[] = {
    {"cRemoveOneChar", {S("ABCDE"), N(1)}, Str("BCDE")},
    {"cRemoveOneChar", {S("ABCDE"), N(3)}, Str("ABDE")},
    {"cRemoveOneChar", {S("ABCDE"), N(5)}, Str("ABCD")},
    {"cRemoveOneChar", {S("ABCDE"), N(0)}, Str("ABCDE")},
    {"cRemoveOneChar", {S("ABCDE"), N(6)}, Str("ABCDE")},
    {"cRemoveOneChar", {S("ABCDE"), N(INT32_MIN)}, Str("ABCDE")},
    {"cRemoveOneChar", {S("A"), N(1)}, Empty()},
    {"cRemoveOneChar", {S("\0\0"sv), N(2)}, Str("\0"sv)},
    {"cRemoveOneChar", {Null(), N(1)}, Empty()},

    {"cRemoveBlockChar", {S("ABCDEFG"), N(3), N(2)}, Str("ABEFG")},
    {"cRemoveBlockChar", {S("ABCDEFG"), N(0), N(2)}, Str("CDEFG")},
    {"cRemoveBlockChar", {S("ABCDEFG"), N(1), N(2)}, Str("CDEFG")},
    {"cRemoveBlockChar", {S("ABCDEFG"), N(6), N(2)}, Str("ABCDE")},
    {"cRemoveBlockChar", {S("ABCDEFG"), N(1), N(7)}, Empty()},
    {"cRemoveBlockChar", {S("ABCDEFG"), N(1), N(INT32_MAX)}, Empty()},
    {"cRemoveBlockChar", {S("ABCDEFG"), N(3), N(0)}, Str("ABCDEFG")},
    {"cRemoveBlockChar", {S("ABCDEFG"), N(8), N(2)}, Str("ABCDEFG")},
    {"cRemoveBlockChar", {S("ABCDEFG"), N(-1), N(2)}, Str("ABCDEFG")},
    // A block past the end: the first n - Count bytes.
    {"cRemoveBlockChar", {S("ABCDEFG"), N(6), N(3)}, Str("ABCD")},
    {"cRemoveBlockChar", {S("ABCDEFG"), N(7), N(6)}, Str("A")},
    {"cRemoveBlockChar", {Null(), N(1), N(1)}, Empty()},

    {"cInsertChars", {S("ABCD"), N(0), S("xy")}, Str("xyABCD")},
    {"cInsertChars", {S("ABCD"), N(2), S("xy")}, Str("ABxyCD")},
    {"cInsertChars", {S("ABCD"), N(4), S("xy")}, Str("ABCDxy")},
    {"cInsertChars", {S("ABCD"), N(99), S("xy")}, Str("ABCDxy")},
    {"cInsertChars", {S("ABCD"), N(INT32_MAX), S("\0"sv)}, Str("ABCD\0"sv)},
    {"cInsertChars", {S("ABCD"), N(-1), S("xy")}, Str("ABCD")},
    {"cInsertChars", {S("ABCD"), N(2), S("")}, Str("ABCD")},
    {"cInsertChars", {S(""), N(0), S("xy")}, Empty()},
    {"cInsertChars", {Null(), N(0), Null()}, Empty()},
};

constexpr Case kSizing[] = {
    {"cResizeString", {S("ABCDE"), N(3)}, Str("ABC")},
    {"cResizeString", {S("ABCDE"), N(5)}, Str("ABCDE")},
    {"cResizeString", {S("ABCDE"), N(10)}, Str("ABCDE")},
    {"cResizeString", {S("ABCDE"), N(INT32_MAX)}, Str("ABCDE")},
    {"cResizeString", {S("ABCDE"), N(0)}, Empty()},
    {"cResizeString", {S("ABCDE"), N(INT32_MIN)}, Empty()},
    {"cResizeString", {Null(), N(3)}, Empty()},

    {"cResizeStringAndFill", {S("AB"), N(5), S("xyz")}, Str("ABxxx")},
    {"cResizeStringAndFill", {S("AB"), N(5), S("")}, Str("AB\0\0\0"sv)},
    {"cResizeStringAndFill", {S("AB"), N(5), Null()}, Str("AB\0\0\0"sv)},
    {"cResizeStringAndFill", {S("AB"), N(1), S("xyz")}, Str("A")},
    {"cResizeStringAndFill", {S("AB"), N(2), S("xyz")}, Str("AB")},
    {"cResizeStringAndFill", {S("AB"), N(0), S("x")}, Empty()},
    {"cResizeStringAndFill", {S(""), N(5), S("x")}, Empty()},

    {"cCreateAndFill", {N(7), S("abc")}, Str("abcabca")},
    {"cCreateAndFill", {N(2), S("abc")}, Str("ab")},
    {"cCreateAndFill", {N(3), S("x")}, Str("xxx")},
    {"cCreateAndFill", {N(6), S("a\0"sv)}, Str("a\0a\0a\0"sv)},
    {"cCreateAndFill", {N(0), S("x")}, Empty()},
    {"cCreateAndFill", {N(-7), S("x")}, Empty()},
    {"cCreateAndFill", {N(5), S("")}, Empty()},
    {"cCreateAndFill", {N(5), Null()}, Empty()},

    {"cFill", {S("HELLO"), S("ab")}, True().After("ababa")},
    {"cFill", {S("HI"), S("abcdef")}, True().After("ab")},
    {"cFill", {S("HELLO"), S("")}, False().After("HELLO")},
    {"cFill", {S(""), S("ab")}, False().After("")},
    {"cFill", {Null(), S("ab")}, False()},
    {"cFill", {S("\0\0\0"sv), S("\xFF"sv)}, True().After("\xFF\xFF\xFF"sv)},

    {"cAlign", {S("AB"), N(-1), N(5)}, Str("   AB")},
    {"cAlign", {S("AB"), N(0), N(5)}, Str("  AB ")},
    {"cAlign", {S("AB"), N(1), N(5)}, Str("AB   ")},
    {"cAlign", {S("AB"), N(0), N(6)}, Str("  AB  ")},
    {"cAlign", {S("AB"), N(-32768), N(3)}, Str(" AB")},
    {"cAlign", {S("AB"), N(32767), N(3)}, Str("AB ")},
    // Only the low 16 bits of the Integer count: 65536 is 0, 65535 is -1.
    {"cAlign", {S("AB"), N(65536), N(5)}, Str("  AB ")},
    {"cAlign", {S("AB"), N(65535), N(5)}, Str("   AB")},
    {"cAlign", {S("AB"), N(-1), N(2)}, Str("AB")},
    {"cAlign", {S("AB"), N(1), N(1)}, Str("A")},
    {"cAlign", {S("AB"), N(0), N(1)}, Str("A")},
    {"cAlign", {S("AB"), N(0), N(0)}, Empty()},
    {"cAlign", {S("AB"), N(0), N(INT32_MIN)}, Empty()},
    {"cAlign", {S(""), N(0), N(5)}, Empty()},
};

const Registered kRegisterEnds{"positions_ends", kEnds};
const Registered kRegisterEdits{"positions_edits", kEdits};
const Registered kRegisterSizing{"positions_sizing", kSizing};

}  // namespace
