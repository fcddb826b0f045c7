// The export table, the one list of the library's exports: each with its
// ordinal, the kinds of its arguments and the kind of its result.  The
// module-definition files of the DLLs are written from it at build time;
// the tools, the tests and the harness read it; the declarations in
// twinekit.h are checked against it at compile time.
//
// Argument kinds: R string by reference, W string by reference changed in
// place, V string by value, L Long, I Integer (low 16 bits of a 32-bit slot),
// X Variant by reference.  Result kinds: S byte string, I Integer, L Long,
// X Variant (subtype Long), N none.
//
// Ordinals run in the alphabetical order of the names, except that
// cProperName2 comes before cProperName.
#pragma once

#include <array>
#include <string_view>

// X(name, ordinal, argument kinds, result kind), in ordinal order.
#define TK_EXPORT_TABLE(X) \
  X(cAddDigit, 1, "R", 'I') \
  X(cAlign, 2, "RIL", 'S') \
  X(cAndToken, 3, "VV", 'I') \
  X(cAndTokenIn, 4, "VVV", 'I') \
  X(cArabicToRoman, 5, "X", 'S') \
  X(cBlockCharFromLeft, 6, "RL", 'S') \
  X(cBlockCharFromRight, 7, "RL", 'S') \
  X(cChangeChars, 8, "WRR", 'I') \
  X(cChangeCharsUntil, 9, "WRRR", 'I') \
  X(cCheckChars, 10, "RR", 'I') \
  X(cCheckNumericity, 11, "R", 'I') \
  X(cCnvASCIItoEBCDIC, 12, "W", 'I') \
  X(cCnvEBCDICtoASCII, 13, "W", 'I') \
  X(cCompact, 14, "R", 'S') \
  X(cCompress, 15, "R", 'S') \
  X(cCompressTab, 16, "RL", 'S') \
  X(cCount, 17, "RR", 'I') \
  X(cCplAlpha, 18, "R", 'S') \
  X(cCplDigit, 19, "R", 'S') \
  X(cCreateAndFill, 20, "LR", 'S') \
  X(cExpandTab, 21, "RL", 'S') \
  X(cFill, 22, "WR", 'I') \
  X(cFilterBlocks, 23, "RR", 'S') \
  X(cFilterChars, 24, "RR", 'S') \
  X(cFilterFirstChars, 25, "RR", 'S') \
  X(cFilterNotChars, 26, "RR", 'S') \
  X(cFromHexa, 27, "R", 'S') \
  X(cGet, 28, "RL", 'S') \
  X(cGetBlock, 29, "RLL", 'S') \
  X(cGetIn, 30, "RRL", 'S') \
  X(cGetInPart, 31, "RRL", 'S') \
  X(cGetInPartR, 32, "RRL", 'S') \
  X(cGetInR, 33, "RRL", 'S') \
  X(cH2I, 34, "V", 'I') \
  X(cH2L, 35, "V", 'L') \
  X(cInsertBlocks, 36, "RR", 'S') \
  X(cInsertBlocksBy, 37, "RRR", 'S') \
  X(cInsertByMask, 38, "RRR", 'S') \
  X(cInsertChars, 39, "RLR", 'S') \
  X(cLrc, 40, "R", 'S') \
  X(cMixChars, 41, "R", 'S') \
  X(cMorse, 42, "V", 'S') \
  X(cNumDigit, 43, "R", 'I') \
  X(cOneCharFromLeft, 44, "RL", 'S') \
  X(cOneCharFromRight, 45, "RL", 'S') \
  X(cOrToken, 46, "VV", 'I') \
  X(cOrTokenIn, 47, "VVV", 'I') \
  X(cPatternExtMatch, 48, "VV", 'L') \
  X(cPatternMatch, 49, "VV", 'L') \
  X(cProperName2, 50, "RVI", 'S') \
  X(cProperName, 51, "R", 'S') \
  X(cRemoveBlockChar, 52, "RLL", 'S') \
  X(cRemoveOneChar, 53, "RL", 'S') \
  X(cResizeString, 54, "RL", 'S') \
  X(cResizeStringAndFill, 55, "RLR", 'S') \
  X(cReverse, 56, "R", 'S') \
  X(cRomanToArabic, 57, "R", 'X') \
  X(cScrollL, 58, "R", 'S') \
  X(cScrollR, 59, "R", 'S') \
  X(cSetDefaultSeparator, 60, "R", 'N') \
  X(cStringSAR, 61, "VVVI", 'S') \
  X(cToHexa, 62, "R", 'S') \
  X(cTokenIn, 63, "RRL", 'S') \
  X(cUncompact, 64, "R", 'S') \

// The names of each export's arguments, in order and in the order of the
// table above: those of twinekit.h and of the Basic declarations, a name
// that is a reserved word of Basic lengthened (Stop -> StopChars).  The COM
// interface and its type library name the arguments with them.
#define TK_EXPORT_ARGUMENT_NAMES(X) \
  X(cAddDigit, "Txt") \
  X(cAlign, "Txt Mode Width") \
  X(cAndToken, "Txt Tokens") \
  X(cAndTokenIn, "Txt Tokens Sep") \
  X(cArabicToRoman, "Number") \
  X(cBlockCharFromLeft, "Txt Count") \
  X(cBlockCharFromRight, "Txt Count") \
  X(cChangeChars, "Txt OldChars NewChars") \
  X(cChangeCharsUntil, "Txt OldChars NewChars StopChars") \
  X(cCheckChars, "Txt Chars") \
  X(cCheckNumericity, "Txt") \
  X(cCnvASCIItoEBCDIC, "Txt") \
  X(cCnvEBCDICtoASCII, "Txt") \
  X(cCompact, "Txt") \
  X(cCompress, "Txt") \
  X(cCompressTab, "Txt Width") \
  X(cCount, "Txt Sep") \
  X(cCplAlpha, "Txt") \
  X(cCplDigit, "Txt") \
  X(cCreateAndFill, "Length Filler") \
  X(cExpandTab, "Txt Width") \
  X(cFill, "Txt Filler") \
  X(cFilterBlocks, "Txt Delimiters") \
  X(cFilterChars, "Txt Chars") \
  X(cFilterFirstChars, "Txt Prefix") \
  X(cFilterNotChars, "Txt Chars") \
  X(cFromHexa, "Txt") \
  X(cGet, "Txt Index") \
  X(cGetBlock, "Txt BlockNumber BlockSize") \
  X(cGetIn, "Txt Sep Index") \
  X(cGetInPart, "Txt Sep FirstPart") \
  X(cGetInPartR, "Txt Sep FirstPart") \
  X(cGetInR, "Txt Sep Index") \
  X(cH2I, "Txt") \
  X(cH2L, "Txt") \
  X(cInsertBlocks, "Txt Blocks") \
  X(cInsertBlocksBy, "Txt Blocks Sep") \
  X(cInsertByMask, "Mask MaskChar Txt") \
  X(cInsertChars, "Txt Position Insertion") \
  X(cLrc, "Txt") \
  X(cMixChars, "Txt") \
  X(cMorse, "Txt") \
  X(cNumDigit, "Txt") \
  X(cOneCharFromLeft, "Txt Position") \
  X(cOneCharFromRight, "Txt Position") \
  X(cOrToken, "Txt Tokens") \
  X(cOrTokenIn, "Txt Tokens Sep") \
  X(cPatternExtMatch, "Txt Pattern") \
  X(cPatternMatch, "Txt Pattern") \
  X(cProperName2, "Txt Exceptions Options") \
  X(cProperName, "Txt") \
  X(cRemoveBlockChar, "Txt Position Count") \
  X(cRemoveOneChar, "Txt Position") \
  X(cResizeString, "Txt NewLength") \
  X(cResizeStringAndFill, "Txt NewLength Filler") \
  X(cReverse, "Txt") \
  X(cRomanToArabic, "Txt") \
  X(cScrollL, "Txt") \
  X(cScrollR, "Txt") \
  X(cSetDefaultSeparator, "Sep") \
  X(cStringSAR, "Txt Find Replace MatchCase") \
  X(cToHexa, "Txt") \
  X(cTokenIn, "Txt Seps Index") \
  X(cUncompact, "Txt") \

namespace twinekit {

struct ExportInfo {
  std::string_view name;
  int ordinal;
  std::string_view args;
  char result;
};

#define TK_EXPORT_INFO(name, ordinal, args, result) ExportInfo{#name, ordinal, args, result},
inline constexpr std::array<ExportInfo, 64> kExports = {TK_EXPORT_TABLE(TK_EXPORT_INFO)};
#undef TK_EXPORT_INFO

// The entry for name, or null.
constexpr const ExportInfo* FindExport(std::string_view name) {
  for (const ExportInfo& e : kExports) {
    if (e.name == name) return &e;
  }
  return nullptr;
}

struct ArgumentNames {
  std::string_view name;
  std::string_view names;  // separated by single blanks
};

#define TK_ARGUMENT_NAMES(name, names) ArgumentNames{#name, names},
inline constexpr std::array<ArgumentNames, 64> kArgumentNames = {
    TK_EXPORT_ARGUMENT_NAMES(TK_ARGUMENT_NAMES)};
#undef TK_ARGUMENT_NAMES

// True when the two lists name the same exports in the same order, each
// with one argument name per argument kind.
constexpr bool ArgumentNamesMatchTable() {
  for (size_t i = 0; i < kExports.size(); ++i) {
    const std::string_view names = kArgumentNames[i].names;
    size_t words = names.empty() ? 0 : 1;
    for (char c : names) words += c == ' ';
    if (kArgumentNames[i].name != kExports[i].name || words != kExports[i].args.size()) return false;
  }
  return true;
}
static_assert(ArgumentNamesMatchTable(), "the argument names do not match the export table");

}  // namespace twinekit
