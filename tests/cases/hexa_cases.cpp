// Behaviour cases of the hexadecimal and checksum functions.
#include <cstdint>

#include "cases/case.h"

namespace {

using namespace tkcases;

constexpr Case kHexa[] = {
    {"cToHexa", {S("AB")}, Str("4142")},
    {"cToHexa", {S("\xFF")}, Str("FF")},
    {"cToHexa", {S("\0"sv)}, Str("00")},
    {"cToHexa", {S("\x80\x7F\x0A\xE9")}, Str("807F0AE9")},
    {"cToHexa", {S("")}, Empty()},
    {"cToHexa", {Null()}, Empty()},

    {"cFromHexa", {S("414243")}, Str("ABC")},
    {"cFromHexa", {S("4a4B")}, Str("JK")},
    {"cFromHexa", {S("41424")}, Str("AB")},
    {"cFromHexa", {S("4")}, Empty()},
    {"cFromHexa", {S("ZZ")}, Str("S")},
    {"cFromHexa", {S("G0")}, Str("\0"sv)},
    {"cFromHexa", {S("  ")}, Str("\xF0")},
    {"cFromHexa", {S("00fFFf")}, Str("\0\xFF\xFF"sv)},
    // Bytes 0x80 to 0xFF count as negative: 0xFF is -1, its digit -49.
    {"cFromHexa", {S("\xFF\xFF")}, Str("\xBF")},
    {"cFromHexa", {S("\x80" "0")}, Str("\0"sv)},
    {"cFromHexa", {S("0\x80")}, Str("\x50")},
    {"cFromHexa", {S("\0\0"sv)}, Str("\xD0")},
    {"cFromHexa", {S("")}, Empty()},
    {"cFromHexa", {Null()}, Empty()},

    {"cLrc", {S("AB")}, Str("03")},
    {"cLrc", {S("abc")}, Str("60")},
    {"cLrc", {S("AA")}, Str("00")},
    {"cLrc", {S("\x0F\xF0")}, Str("FF")},
    {"cLrc", {S("\0\xA5\0"sv)}, Str("A5")},
    {"cLrc", {S("A")}, Empty()},
    {"cLrc", {S("")}, Empty()},
    {"cLrc", {Null()}, Empty()},

    {"cH2I", {S("FF")}, Int(255)},
    {"cH2I", {S("7FFF")}, Int(32767)},
    {"cH2I", {S("8000")}, Int(-32768)},
    {"cH2I", {S("ffff")}, Int(-1)},
    {"cH2I", {S("aBc")}, Int(2748)},
    {"cH2I", {S("12345")}, Int(0)},
    {"cH2I", {S("1G")}, Int(1)},
    {"cH2I", {S("G1")}, Int(0)},
    {"cH2I", {S(" 1")}, Int(0)},
    {"cH2I", {S("1\0" "23"sv)}, Int(1)},
    {"cH2I", {S("12\0" "34"sv)}, Int(0)},
    {"cH2I", {S("\xB1")}, Int(0)},
    {"cH2I", {S("")}, Int(0)},
    {"cH2I", {Null()}, Int(0)},

    {"cH2L", {S("7fffffff")}, Int(2147483647)},
    {"cH2L", {S("FFFFFFFF")}, Int(-1)},
    {"cH2L", {S("80000000")}, Int(INT32_MIN)},
    {"cH2L", {S("ABC")}, Int(2748)},
    {"cH2L", {S("123456789")}, Int(0)},
    {"cH2L", {S("12x45678")}, Int(0x12)},
    {"cH2L", {S("FFFF")}, Int(65535)},
    {"cH2L", {S("1234\0" "678"sv)}, Int(0x1234)},
    {"cH2L", {S("")}, Int(0)},
    {"cH2L", {Null()}, Int(0)},
};

const Registered kRegisterHexa{"hexa", kHexa};

}  // namespace
