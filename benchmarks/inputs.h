// Realistic inputs for the benchmarks, each exactly n bytes long: records
// of fields, prose with blanks and tabs, digit strings, hexadecimal digits,
// Roman numerals, personal names, masks and letter templates.  They are the
// same on every run and every platform (a fixed-seed generator picks the
// words), so the native and the Windows figures time the same bytes.
#pragma once

#include <cstddef>
#include <string>

namespace tkbench {

// The sizes every text-sized benchmark runs at: 16 bytes, 1 KiB, 1 MiB.
inline constexpr size_t kSizes[] = {16, 1024, 1024 * 1024};

// The field that ends every record text, so that a search for it or a
// match of it runs to the end.
inline constexpr const char* kLastField = "Reykjavik";

// The patterns matched against a record text: its last field, after a
// star that must try every separator on the way.
inline constexpr const char* kPlainPattern = "*|Reykjavi?";
inline constexpr const char* kExtPattern = "*|[Rr]eykjav?k";
// Search and replace: a search string that prose holds now and then.
inline constexpr const char* kFind = "abc";
inline constexpr const char* kReplace = "XYZW";

// Names, streets, cities, numbers and dates divided by sep, starting with
// "Anna" and ending with kLastField.
std::string Fields(size_t n, char sep = '|');
// Fields divided by any of ',', ';' and the blank.
std::string MixedSeparators(size_t n);
// The number of fields of a text divided by sep.
long FieldCount(const std::string& text, char sep);

// Prose: lower-case words and a few capitalised ones, blanks, tabs, digits,
// amounts, "(notes)" in parentheses, and words holding "abc".  No "~".
std::string Prose(size_t n);
// Prose in which "abc" never occurs.
std::string ProseWithoutAbc(size_t n);
// Lines of code indented with runs of blanks.
std::string Indented(size_t n);

// Decimal digits only.
std::string Digits(size_t n);
// Upper-case hexadecimal digits: the hexadecimal form of prose.
std::string HexDigits(size_t n);
// Lower-case Roman numerals, one after the other.
std::string RomanNumerals(size_t n);
// Lower-case personal names divided by blanks, with particles such as
// "de", "van" and "von".
std::string Names(size_t n);

// Telephone-number masks "(###) ###-####" on lines of their own.
std::string Mask(size_t n);
// Letter lines with two placeholders each: "Dear ~, your ~ is ready."
// for the placeholder '~'.
std::string Template(size_t n, char placeholder);
// A list of k blocks divided by sep, one for each placeholder.
std::string Blocks(long k, char sep);

}  // namespace tkbench
