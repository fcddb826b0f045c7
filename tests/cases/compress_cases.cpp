// Behaviour cases of the compression and tabs family.
#include <cstdint>

#include "cases/case.h"

namespace {

using namespace tkcases;

constexpr Case kBlanks[] = {
    {"cCompress", {S(" a b\tc ")}, Str("abc")},
    {"cCompress", {S(" \t\0 \t"sv)}, Empty()},
    {"cCompress", {S("a\r\nb")}, Str("a\r\nb")},
    {"cCompress", {S("x\0y\0"sv)}, Str("xy")},
    {"cCompress", {S("\f\v\xA0z")}, Str("\f\v\xA0z")},
    {"cCompress", {S("abc")}, Str("abc")},
    {"cCompress", {S("")}, Empty()},
    {"cCompress", {Null()}, Empty()},

    {"cExpandTab", {S("a\tb"), N(4)}, Str("a    b")},
    {"cExpandTab", {S("abc\td"), N(4)}, Str("abc    d")},
    {"cExpandTab", {S("\t\t"), N(4)}, Str("        ")},
    {"cExpandTab", {S("a\tb\t"), N(1)}, Str("a b ")},
    {"cExpandTab", {S("a\tb"), N(0)}, Str("a\tb")},
    {"cExpandTab", {S("a\tb"), N(-3)}, Str("a\tb")},
    {"cExpandTab", {S("a\tb"), N(INT32_MIN)}, Str("a\tb")},
    {"cExpandTab", {S("no tabs"), N(4)}, Str("no tabs")},
    {"cExpandTab", {S("\0\t \0"sv), N(2)}, Str("\0   \0"sv)},
    {"cExpandTab", {S(""), N(4)}, Empty()},
    {"cExpandTab", {Null(), N(4)}, Empty()},
    // A result larger than any string may be is refused: the empty result.
    {"cExpandTab", {S("a\tb"), N(INT32_MAX)}, Empty()},
    {"cExpandTab", {S("\t\t"), N(0x40000000)}, Empty()},
    {"cExpandTab", {S("\t\t"), N(0x3FFFFFFF)}, Empty()},
    {"cExpandTab", {S("\t\t\t\t\t\t\t\t\t"), N(0x10000000)}, Empty()},

    {"cCompressTab", {S("a        b"), N(4)}, Str("a\t\tb")},
    {"cCompressTab", {S("a     b"), N(4)}, Str("a\t b")},
    {"cCompressTab", {S("a   b"), N(4)}, Str("a   b")},
    {"cCompressTab", {S("    x"), N(4)}, Str("\tx")},
    {"cCompressTab", {S("x      "), N(4)}, Str("x\t  ")},
    {"cCompressTab", {S("         "), N(4)}, Str("\t\t ")},
    {"cCompressTab", {S("a  \t  b"), N(2)}, Str("a\t\t\tb")},
    {"cCompressTab", {S("a  b"), N(1)}, Str("a  b")},
    {"cCompressTab", {S("a  b"), N(0)}, Str("a  b")},
    {"cCompressTab", {S("a  b"), N(-2)}, Str("a  b")},
    {"cCompressTab", {S("a  b"), N(INT32_MIN)}, Str("a  b")},
    {"cCompressTab", {S("a    b"), N(INT32_MAX)}, Str("a    b")},
    {"cCompressTab", {S(" \0  \0"sv), N(2)}, Str(" \0\t\0"sv)},
    {"cCompressTab", {S(""), N(4)}, Empty()},
    {"cCompressTab", {Null(), N(4)}, Empty()},
};

constexpr Case kCompaction[] = {
    {"cCompact", {S("1234")}, Str("\x12\x34")},
    {"cCompact", {S("123")}, Str("\x01\x23")},
    {"cCompact", {S("7")}, Str("\x07")},
    {"cCompact", {S("09AF")}, Str("\x09\xAF")},
    {"cCompact", {S("ab")}, Str("\xAB")},
    {"cCompact", {S("AB")}, Str("\xAB")},
    {"cCompact", {S("Ab")}, Str("\xAB")},
    {"cCompact", {S("fF")}, Str("\xFF")},
    {"cCompact", {S("GZ")}, Str("\x03")},
    {"cCompact", {S("gz")}, Str("\x03")},
    {"cCompact", {S("  ")}, Str("\x99")},
    {"cCompact", {S("-.")}, Str("\x67")},
    {"cCompact", {S("00")}, Str("\0"sv)},
    {"cCompact", {S("\0\xFF"sv)}, Str("\x98")},
    {"cCompact", {S("\x80\x7F")}, Str("\x98")},
    {"cCompact", {S("")}, Empty()},
    {"cCompact", {Null()}, Empty()},

    {"cUncompact", {S("\x12\x34")}, Str("1234")},
    {"cUncompact", {S("\x01\x23")}, Str("0123")},
    {"cUncompact", {S("\xAB")}, Str("AB")},
    {"cUncompact", {S("\0"sv)}, Str("00")},
    {"cUncompact", {S("\xFF")}, Str("FF")},
    {"cUncompact", {S("\x9A\xBC\xDE\xF0")}, Str("9ABCDEF0")},
    {"cUncompact", {S("")}, Empty()},
    {"cUncompact", {Null()}, Empty()},
};

const Registered kRegisterBlanks{"compress_blanks", kBlanks};
const Registered kRegisterCompaction{"compress_compaction", kCompaction};

}  // namespace
