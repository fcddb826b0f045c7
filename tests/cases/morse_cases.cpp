// Behaviour cases of the Morse code writer.
#include "cases/case.h"

namespace {

using namespace tkcases;

constexpr Case kMorse[] = {
    {"cMorse", {S("SOS")}, Str("... --- ... ")},
    {"cMorse", {S("sos")}, Str("... --- ... ")},
    {"cMorse", {S("Hi there")}, Str(".... .. ~- .... . .-. . ")},
    {"cMorse", {S("A B")}, Str(".- ~-... ")},
    {"cMorse", {S("  ")}, Str("~~")},
    {"cMorse", {S(" A ")}, Str("~.- ~")},
    {"cMorse", {S("ABCDEFGHIJKLM")},
     Str(".- -... -.-. -.. . ..-. --. .... .. .--- -.- .-.. -- ")},
    {"cMorse", {S("NOPQRSTUVWXYZ")},
     Str("-. --- .--. --.- .-. ... - ..- ...- .-- -..- -.-- --.. ")},
    {"cMorse", {S("abcdefghijklmnopqrstuvwxyz")},
     Str(".- -... -.-. -.. . ..-. --. .... .. .--- -.- .-.. -- -. --- .--. --.- .-. ... - ..- "
         "...- .-- -..- -.-- --.. ")},
    {"cMorse", {S("0123456789")},
     Str("----- .---- ..--- ...-- ....- ..... -.... --... ---.. ----. ")},
    {"cMorse", {S("0")}, Str("----- ")},
    {"cMorse", {S("-")}, Str("-...- ")},
    {"cMorse", {S(",-./?")}, Str("--..-- -...- .-.-.- -..-. ..--.. ")},
    // Six symbols and a blank per byte: the buffer of 7 bytes a byte is full.
    {"cMorse", {S("?.,")}, Str("..--.. .-.-.- --..-- ")},

    // Characters between the blank and "Z" without a code write a lone blank.
    {"cMorse", {S("!")}, Str(" ")},
    {"cMorse", {S("A!B")}, Str(".-  -... ")},
    {"cMorse", {S("!\"#$%&'()*+:;<=>@")}, Str("                 ")},

    // Bytes outside the blank to "Z", lower-case letters apart, are skipped.
    {"cMorse", {S("[")}, Empty()},
    {"cMorse", {S("A[B")}, Str(".- -... ")},
    {"cMorse", {S("[\\]^_`{|}~\x7F")}, Empty()},
    {"cMorse", {S("\x01\t\n\x1F")}, Empty()},
    {"cMorse", {S("\x80\xC1\xE9\xFF")}, Empty()},
    {"cMorse", {S("E\xE9T")}, Str(". - ")},

    // The text ends at its first zero byte.
    {"cMorse", {S("E\0T"sv)}, Str(". ")},
    {"cMorse", {S("\0SOS"sv)}, Empty()},
    {"cMorse", {S("")}, Empty()},
    {"cMorse", {Null()}, Empty()},
};

const Registered kRegisterMorse{"encodings_morse", kMorse};

}  // namespace
