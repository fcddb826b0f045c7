// Behaviour cases of the digit string functions.
#include "cases/case.h"

namespace {

using namespace tkcases;

constexpr Case kDigits[] = {
    {"cCheckNumericity", {S("0123")}, True()},
    {"cCheckNumericity", {S("9")}, True()},
    {"cCheckNumericity", {S("12a")}, False()},
    {"cCheckNumericity", {S("12 ")}, False()},
    {"cCheckNumericity", {S("-1")}, False()},
    {"cCheckNumericity", {S("1.5")}, False()},
    {"cCheckNumericity", {S("12\0" "3"sv)}, False()},
    {"cCheckNumericity", {S("\0"sv)}, False()},
    {"cCheckNumericity", {S("\xB2")}, False()},
    {"cCheckNumericity", {S("")}, False()},
    {"cCheckNumericity", {Null()}, False()},

    {"cAddDigit", {S("1234")}, Int(10)},
    {"cAddDigit", {S("a1b2")}, Int(3)},
    {"cAddDigit", {S("9\0" "9"sv)}, Int(18)},
    {"cAddDigit", {S("abc")}, Int(0)},
    {"cAddDigit", {S("")}, Int(0)},
    {"cAddDigit", {Null()}, Int(0)},

    {"cNumDigit", {S("9")}, Int(9)},
    {"cNumDigit", {S("18")}, Int(9)},
    {"cNumDigit", {S("99")}, Int(9)},
    {"cNumDigit", {S("123")}, Int(6)},
    {"cNumDigit", {S("0")}, Int(0)},
    {"cNumDigit", {S("000")}, Int(0)},
    {"cNumDigit", {S("10")}, Int(1)},
    {"cNumDigit", {S("4-5")}, Int(9)},
    {"cNumDigit", {S("7\0" "7"sv)}, Int(5)},
    {"cNumDigit", {S("abc")}, Int(0)},
    {"cNumDigit", {S("")}, Int(0)},
    {"cNumDigit", {Null()}, Int(0)},

    {"cCplDigit", {S("0123456789")}, Str("9876543210")},
    {"cCplDigit", {S("a1-9")}, Str("a8-0")},
    {"cCplDigit", {S("\0" "5\xB5/:"sv)}, Str("\0" "4\xB5/:"sv)},
    {"cCplDigit", {S("")}, Empty()},
    {"cCplDigit", {Null()}, Empty()},

    {"cCplAlpha", {S("A")}, Str("\xBE")},
    {"cCplAlpha", {S("\0"sv)}, Str("\xFF")},
    {"cCplAlpha", {S("\xFF")}, Str("\0"sv)},
    {"cCplAlpha", {S("09\x80\x7F")}, Str("\xCF\xC6\x7F\x80")},
    {"cCplAlpha", {S("")}, Empty()},
    {"cCplAlpha", {Null()}, Empty()},
};

const Registered kRegisterDigits{"digits", kDigits};

}  // namespace
