#include "export_cases.h"

#include <algorithm>
#include <cstdint>

#include "inputs.h"

namespace tkbench {
namespace {

using tkhost::Value;
using Args = std::vector<Value>;

Value S(std::string bytes) {
  Value v;
  v.tag = Value::kBytes;
  v.bytes = std::move(bytes);
  return v;
}

Value N(int64_t number) {
  Value v;
  v.tag = Value::kNumber;
  v.number = number;
  return v;
}

Value Long(size_t number) { return N(static_cast<int64_t>(number)); }

Value I4(int64_t number) {
  Value v;
  v.tag = Value::kVariant;
  v.variant.vt = tkhost::kVtI4;
  v.variant.integer = number;
  return v;
}

// A record text whose separator byte at `at` (first or last) becomes '='.
std::string WithOneEquals(size_t n, bool last) {
  std::string s = Fields(n, '|');
  const size_t at = last ? s.rfind('|') : s.find('|');
  if (at != std::string::npos) s[at] = '=';
  return s;
}

Args TextOnly(size_t n) { return {S(Prose(n))}; }
Args DigitsOnly(size_t n) { return {S(Digits(n))}; }
Args HexOnly(size_t n) { return {S(HexDigits(n))}; }

Args LastField(size_t n) {
  const std::string s = Fields(n, ';');
  return {S(s), S(";"), N(FieldCount(s, ';'))};
}

// The last field of a text divided by any of three separator bytes.
Args LastToken(size_t n) {
  const std::string s = MixedSeparators(n);
  const auto fields = 1 + std::count_if(s.begin(), s.end(),
                                        [](char c) { return c == ',' || c == ';' || c == ' '; });
  return {S(s), S(",; "), N(fields)};
}

// A letter template and one block for each of its placeholders.
Args Placeholders(size_t n, char sep) {
  const std::string t = Template(n, sep);
  return {S(t), S(Blocks(FieldCount(t, sep) - 1, sep)), S(std::string(1, sep))};
}

Args MaskAndDigits(size_t n) {
  const std::string m = Mask(n);
  return {S(m), S("#"), S(Digits(static_cast<size_t>(std::count(m.begin(), m.end(), '#'))))};
}

// Exports whose one-byte or constant work does not grow with a text.
constexpr size_t kCall = 16;

constexpr ExportCase kCases[] = {
    // Positions: copies, reversal and rotation of the whole text.
    {"positions", "cOneCharFromLeft", "", "", kCall,
     [](size_t n) -> Args {
       return {S(Prose(n)), Long(n)};
     }},
    {"positions", "cOneCharFromRight", "", "", kCall,
     [](size_t n) -> Args {
       return {S(Prose(n)), Long(n)};
     }},
    {"positions", "cBlockCharFromLeft", "", "bstr-copy", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), N(1)};
     }},
    {"positions", "cBlockCharFromRight", "", "bstr-copy", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), N(1)};
     }},
    {"positions", "cScrollL", "", "bstr-copy", 0, TextOnly},
    {"positions", "cScrollR", "", "bstr-copy", 0, TextOnly},
    {"positions", "cReverse", "", "bstr-copy", 0, TextOnly},
    {"positions", "cGetBlock", "second-half", "bstr-copy", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), N(2), Long(n / 2)};
     }},
    {"positions", "cRemoveOneChar", "", "bstr-copy", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), Long(n / 2)};
     }},
    {"positions", "cRemoveBlockChar", "", "bstr-copy", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), Long(n / 4), Long(n / 4)};
     }},
    {"positions", "cInsertChars", "", "bstr-copy", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), Long(n / 2), S(" (inserted) ")};
     }},
    {"positions", "cResizeString", "", "bstr-copy", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), Long(n - 1)};
     }},
    {"positions", "cResizeStringAndFill", "", "bstr-copy", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), Long(2 * n), S(".")};
     }},
    {"positions", "cCreateAndFill", "", "bstr-copy", 0,
     [](size_t n) -> Args {
       return {Long(n), S("-=+")};
     }},
    {"positions", "cFill", "", "", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), S("0123456789")};
     }},
    {"positions", "cAlign", "centred", "bstr-copy", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), N(0), Long(2 * n)};
     }},

    // Fields: the last field, a scan to the far end, every token searched for.
    {"fields", "cSetDefaultSeparator", "", "", 1, [](size_t) -> Args { return {S("|")}; }},
    {"fields", "cGet", "last", "memchr", 0,
     [](size_t n) -> Args {
       return {S(Fields(n)), N(FieldCount(Fields(n), '|'))};
     }},
    {"fields", "cGetIn", "last", "memchr", 0, LastField},
    {"fields", "cGetInR", "last", "memchr", 0, LastField},
    {"fields", "cGetInPart", "", "memchr", 0,
     [](size_t n) -> Args {
       return {S(WithOneEquals(n, true)), S("="), N(0)};
     }},
    {"fields", "cGetInPartR", "", "memchr", 0,
     [](size_t n) -> Args {
       return {S(WithOneEquals(n, false)), S("="), N(0)};
     }},
    {"fields", "cCount", "", "memchr", 0,
     [](size_t n) -> Args {
       return {S(Fields(n)), S("|")};
     }},
    {"fields", "cTokenIn", "last", "memchr", 0, LastToken},
    {"fields", "cOrToken", "", "memmem", 0,
     [](size_t n) -> Args {
       return {S(Fields(n)), S("Qwerty|Zanzibar|Reykjavik")};
     }},
    {"fields", "cAndToken", "", "memmem", 0,
     [](size_t n) -> Args {
       return {S(Fields(n)), S("Anna|Reykjavik")};
     }},
    {"fields", "cOrTokenIn", "", "memmem", 0,
     [](size_t n) -> Args {
       return {S(Fields(n)), S("Qwerty;Zanzibar;Reykjavik"), S(";")};
     }},
    {"fields", "cAndTokenIn", "", "memmem", 0,
     [](size_t n) -> Args {
       return {S(Fields(n)), S("Anna;Reykjavik"), S(";")};
     }},
    {"fields", "cStringSAR", "", "cpython-replace", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), S(kFind), S(kReplace), N(-1)};
     }},
    {"fields", "cStringSAR", "nomatch", "cpython-replace:nomatch", 0,
     [](size_t n) -> Args {
       return {S(ProseWithoutAbc(n)), S(kFind), S(kReplace), N(-1)};
     }},
    {"fields", "cStringSAR", "caseblind", "", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), S(kFind), S(kReplace), N(0)};
     }},

    // Character sets: every byte translated, checked or filtered.
    {"charsets", "cChangeChars", "", "table-map", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), S("aeiou"), S("AEIOU")};
     }},
    {"charsets", "cChangeChars", "manypairs", "table-map", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), S("abcdefghijklmnopqrstuvwxyz"), S("ABCDEFGHIJKLMNOPQRSTUVWXYZ")};
     }},
    {"charsets", "cChangeCharsUntil", "", "table-map", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), S("aeiou"), S("AEIOU"), S("~")};
     }},
    {"charsets", "cCheckChars", "", "", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), S("aeiou09~")};
     }},
    {"charsets", "cFilterChars", "", "", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), S(" \t")};
     }},
    {"charsets", "cFilterNotChars", "", "", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), S("0123456789")};
     }},
    {"charsets", "cFilterFirstChars", "", "bstr-copy", 0,
     [](size_t n) -> Args {
       return {S("Mr " + Prose(n - 3)), S("Mr ")};
     }},
    {"charsets", "cFilterBlocks", "", "", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), S("()")};
     }},
    {"charsets", "cInsertByMask", "", "", 0, MaskAndDigits},
    {"charsets", "cInsertBlocks", "", "", 0,
     [](size_t n) -> Args {
       Args a = Placeholders(n, '~');
       a.pop_back();
       return a;
     }},
    {"charsets", "cInsertBlocksBy", "", "", 0,
     [](size_t n) -> Args { return Placeholders(n, '%'); }},
    {"charsets", "cMixChars", "", "", 0, TextOnly},

    // Compression and tabs.
    {"compress", "cCompress", "", "", 0, TextOnly},
    {"compress", "cExpandTab", "", "", 0,
     [](size_t n) -> Args {
       return {S(Prose(n)), N(4)};
     }},
    {"compress", "cCompressTab", "", "", 0,
     [](size_t n) -> Args {
       return {S(Indented(n)), N(4)};
     }},
    {"compress", "cCompact", "", "", 0, HexOnly},
    {"compress", "cUncompact", "", "", 0, TextOnly},

    // Encodings, numbers and checksums.
    {"encodings", "cToHexa", "", "", 0, TextOnly},
    {"encodings", "cFromHexa", "", "", 0, HexOnly},
    {"encodings", "cLrc", "", "", 0, TextOnly},
    {"encodings", "cH2I", "", "", 4, [](size_t) -> Args { return {S("7FFF")}; }},
    {"encodings", "cH2L", "", "", 8, [](size_t) -> Args { return {S("7FFFFFFF")}; }},
    {"encodings", "cCnvASCIItoEBCDIC", "", "iconv-IBM500", 0, TextOnly},
    {"encodings", "cCnvEBCDICtoASCII", "", "iconv-IBM500", 0, TextOnly},
    {"encodings", "cMorse", "", "", 0, TextOnly},
    {"encodings", "cArabicToRoman", "3888", "", 4, [](size_t) -> Args { return {I4(3888)}; }},
    {"encodings", "cRomanToArabic", "", "", 0,
     [](size_t n) -> Args { return {S(RomanNumerals(n))}; }},
    {"encodings", "cCheckNumericity", "", "", 0, DigitsOnly},
    {"encodings", "cAddDigit", "", "", 0, DigitsOnly},
    {"encodings", "cNumDigit", "", "", 0, DigitsOnly},
    {"encodings", "cCplDigit", "", "table-map", 0, DigitsOnly},
    {"encodings", "cCplAlpha", "", "table-map", 0, TextOnly},

    // Names: every word capitalised; particles kept in lower case.
    {"names", "cProperName", "", "", 0, [](size_t n) -> Args { return {S(Names(n))}; }},
    {"names", "cProperName2", "", "", 0,
     [](size_t n) -> Args { return {S(Names(n)), S("de/la/van/von/der"), N(3)}; }},

    // Patterns: a star that tries every separator before the last field.
    {"patterns", "cPatternMatch", "", "fnmatch:plain", 0,
     [](size_t n) -> Args { return {S(Fields(n)), S(kPlainPattern)}; }},
    {"patterns", "cPatternExtMatch", "", "fnmatch:ext", 0,
     [](size_t n) -> Args { return {S(Fields(n)), S(kExtPattern)}; }},
};

}  // namespace

std::span<const ExportCase> ExportCases() { return kCases; }

std::string CaseName(const ExportCase& c) {
  std::string name = std::string(c.family) + "/" + std::string(c.name);
  if (!c.variant.empty()) name += ":" + std::string(c.variant);
  return name;
}

}  // namespace tkbench
