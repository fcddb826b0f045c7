// Behaviour cases of the name capitalisation family.
#include "cases/case.h"

namespace {

using namespace tkcases;

constexpr Case kPlain[] = {
    {"cProperName", {S("jean-paul o'neil")}, Str("Jean-paul O'neil")},
    {"cProperName", {S("ABC def")}, Str("ABC Def")},
    {"cProperName", {S("  x")}, Str("  X")},
    {"cProperName", {S("a")}, Str("A")},
    {"cProperName", {S("mIXED cASE  words ")}, Str("MIXED CASE  Words ")},
    // Only the blank separates words: not a tab, a zero byte or punctuation.
    {"cProperName", {S("a\tb\0c d"sv)}, Str("A\tb\0c D"sv)},
    {"cProperName", {S("\xE9t\xE9 \xFFx ?y")}, Str("\xE9t\xE9 \xFFx ?y")},
    {"cProperName", {S("\0a b"sv)}, Str("\0a B"sv)},
    {"cProperName", {S("")}, Empty()},
    {"cProperName", {Null()}, Empty()},
};

constexpr Case kFull[] = {
    // No exceptions: capital after a blank, lower case elsewhere.
    {"cProperName2", {S("HELLO WORLD"), S(""), N(0)}, Str("Hello World")},
    {"cProperName2", {S("HELLO WORLD"), Null(), N(0)}, Str("Hello World")},
    {"cProperName2", {S("(abc) [def]"), S(""), N(0)}, Str("(abc) [def]")},
    {"cProperName2", {S("(abc) [def]"), S(""), N(2)}, Str("(Abc) [Def]")},
    {"cProperName2", {S("jean-paul o'neil"), S(""), N(0)}, Str("Jean-paul O'neil")},
    {"cProperName2", {S("jean-paul o'neil"), S(""), N(2)}, Str("Jean-Paul O'Neil")},
    {"cProperName2", {S("x\xE9" "abc"), S(""), N(2)}, Str("X\xE9" "abc")},
    {"cProperName2", {S("\xE9" "ABC D"), S(""), N(0)}, Str("\xE9" "abc D")},
    {"cProperName2", {S("a\tB\0C d"sv), S(""), N(0)}, Str("A\tb\0c D"sv)},
    {"cProperName2", {S("x"), S(""), N(0)}, Str("X")},
    {"cProperName2", {S(" "), S("de"), N(15)}, Str(" ")},
    {"cProperName2", {S(""), S("de"), N(1)}, Empty()},
    {"cProperName2", {Null(), S("de"), N(1)}, Empty()},

    // "?" and "!" of the text itself.
    {"cProperName2", {S("what? NOW"), S(""), N(0)}, Str("What? Now")},
    {"cProperName2", {S("what?now"), S(""), N(0)}, Str("What?now")},
    {"cProperName2", {S("what?now"), S(""), N(2)}, Str("What?Now")},
    {"cProperName2", {S("stop!go"), S(""), N(0)}, Str("Stop!Go")},
    {"cProperName2", {S("a!!b c"), S(""), N(0)}, Str("A!!B C")},
    {"cProperName2", {S("hi!"), S(""), N(0)}, Str("Hi!")},
    {"cProperName2", {S("!x"), S(""), N(0)}, Str("!X")},
    {"cProperName2", {S("!"), S(""), N(0)}, Str("!")},
    {"cProperName2", {S("x!\0y"sv), S(""), N(0)}, Str("X!\0y"sv)},

    // Whole-word exceptions and the case they come back in.
    {"cProperName2", {S("JEAN DE LA FONTAINE"), S("de/la"), N(1)}, Str("Jean de la Fontaine")},
    {"cProperName2", {S("JEAN DE LA FONTAINE"), S("de/la"), N(5)}, Str("Jean DE LA Fontaine")},
    {"cProperName2", {S("JEAN DE LA FONTAINE"), S("de/la"), N(0)}, Str("Jean De La Fontaine")},
    {"cProperName2", {S("jean de la fontaine"), S("de/la"), N(0)}, Str("Jean de la Fontaine")},
    {"cProperName2", {S("jean dE la fontaine"), S("de/la"), N(5)}, Str("Jean dE la Fontaine")},
    {"cProperName2", {S("DE GAULLE"), S("//DE//"), N(1)}, Str("de Gaulle")},
    {"cProperName2", {S("jean DE x"), S("De"), N(1)}, Str("Jean de X")},
    {"cProperName2", {S("jean de"), S("de"), N(1)}, Str("Jean De")},
    {"cProperName2", {S("ab de "), S("de"), N(1)}, Str("Ab de ")},
    {"cProperName2", {S("a de de b"), S("de"), N(1)}, Str("A de De B")},
    {"cProperName2", {S("a de  de b"), S("de"), N(1)}, Str("A de  de B")},
    {"cProperName2", {S("van der berg"), S("van der"), N(1)}, Str("van der Berg")},
    {"cProperName2", {S("x de la y"), S("de/de la"), N(1)}, Str("X de La Y")},
    {"cProperName2", {S("x de la y"), S("de la/de"), N(1)}, Str("X de la Y")},
    {"cProperName2", {S("x de-la y"), S("de"), N(3)}, Str("X De-La Y")},
    {"cProperName2", {S("x de y"), S("de"), N(3)}, Str("X de Y")},
    {"cProperName2", {S("A\tDE B"), S("de"), N(5)}, Str("A\tde B")},
    {"cProperName2", {S("A DE B"), S("de"), N(5)}, Str("A DE B")},
    {"cProperName2", {S("hey! you"), S("hey!"), N(1)}, Str("hey! You")},
    {"cProperName2", {S("a \xC9T\xC9 b"), S("\xC9t\xC9"), N(5)}, Str("A \xC9T\xC9 B")},
    {"cProperName2", {S("a \xC9T\xC9 b"), S("\xC9T\xC9"), N(5)}, Str("A \xC9T\xC9 B")},
    {"cProperName2", {S("a \xC9T\xC9 b"), S("\xC9T\xC9"), N(4)}, Str("A \xC9t\xC9 B")},
    {"cProperName2", {S("a ? b"), S("?"), N(0)}, Str("A ? B")},
    {"cProperName2", {S("la la la "), S("la"), N(0)}, Str("la La la ")},

    // Malformed lists change nothing.
    {"cProperName2", {S("jean de x"), S("/"), N(1)}, Str("Jean De X")},
    {"cProperName2", {S("jean de x"), S("///"), N(9)}, Str("Jean De X")},
    {"cProperName2", {S("jean de x"), S("\0de"sv), N(9)}, Str("Jean De X")},
    {"cProperName2", {S("jean de x"), S("zz/q"), N(9)}, Str("Jean De X")},

    // Zero bytes: one in the text ends the search, one in the list ends it.
    {"cProperName2", {S("x\0 de y"sv), S("de"), N(1)}, Str("X\0 De Y"sv)},
    {"cProperName2", {S("de\0 x"sv), S("de"), N(1)}, Str("De\0 X"sv)},
    {"cProperName2", {S("x de \0y"sv), S("de"), N(1)}, Str("X de \0y"sv)},
    {"cProperName2", {S("jean de la fontaine"), S("de\0la"sv), N(1)}, Str("Jean de La Fontaine")},

    // Prefixes.
    {"cProperName2", {S("ronald mcdonald"), S("mc"), N(8)}, Str("Ronald McDonald")},
    {"cProperName2", {S("MCDONALD"), S("mc"), N(8)}, Str("Mcdonald")},
    {"cProperName2", {S("MCDONALD"), S("mc"), N(9)}, Str("McDonald")},
    {"cProperName2", {S("MCDONALD"), S("mc"), N(13)}, Str("McDonald")},
    {"cProperName2", {S("o'neil mcdonald"), S("mc/o'"), N(8)}, Str("O'Neil McDonald")},
    {"cProperName2", {S("o'neil mcdonald"), S("mc/o'"), N(-1)}, Str("O'Neil McDonald")},
    {"cProperName2", {S("desmond de la"), S("de"), N(9)}, Str("DeSmond de La")},
    {"cProperName2", {S("de la"), S("de"), N(8)}, Str("de La")},
    {"cProperName2", {S("mc"), S("mc"), N(8)}, Str("Mc")},
    {"cProperName2", {S("mcmc"), S("mc"), N(8)}, Str("McMc")},
    // The whole-word search missed the second "mc" (it resumed after the
    // first one's blank); the prefix search goes on right after its marks.
    {"cProperName2", {S("mc mc mcx"), S("mc"), N(8)}, Str("mc Mc McX")},
    {"cProperName2", {S("mc!x"), S("mc"), N(8)}, Str("Mc!X")},
    {"cProperName2", {S("hey!you"), S("hey!"), N(9)}, Str("Hey!You")},
    // A prefix that is a whole word plus a blank spills the capital over the
    // next word's first letter, whatever it was marked with.
    {"cProperName2", {S("x de y"), S("de/x "), N(9)}, Str("X De Y")},

    // Only the low 16 bits of the Integer count, and of them bits 1 to 8.
    {"cProperName2", {S("HELLO WORLD"), S(""), N(0x7FF0)}, Str("Hello World")},
    {"cProperName2", {S("HELLO WORLD"), S(""), N(-16)}, Str("Hello World")},
    {"cProperName2", {S("(abc)"), S(""), N(0x10002)}, Str("(Abc)")},
    {"cProperName2", {S("(abc)"), S(""), N(0x20000)}, Str("(abc)")},
    {"cProperName2", {S("MCDONALD"), S("mc"), N(0x7FF9)}, Str("McDonald")},
};

const Registered kRegisterPlain{"names_plain", kPlain};
const Registered kRegisterFull{"names_full", kFull};

}  // namespace
