// The export table, the one list of the library's exports: each with its
// ordinal, the kinds of its arguments and the kind of its result.  The
// module-definition files of the DLLs are written from it at build time;
// the tools, the tests and the harness read it; the declarations in
// twinekit.h are checked against it at compile time.
//
// Argument kinds: R string by reference, W string by reference changed in
// place, V string by value, L Long, I Integer (low 16 bits of a 32-bit slot),
// X Variant by reference.  Result kinds: S byte string, I Integer, L Long,
// X Variant (subtype Long), N none.  Argument names, one for each kind and
// separated by single blanks: those of twinekit.h and of the Basic
// declarations, a name that is a reserved word of Basic lengthened
// (Stop -> StopChars); the COM interface and its type library, and the
// JavaScript functions, name the arguments with them.
//
// Ordinals run in the alphabetical order of the names, except that
// cProperName2 comes before cProperName.
#pragma once

#include <array>
#include <string_view>

// X(name, ordinal, argument kinds, result kind, argument names), in ordinal order.
#define TK_EXPORT_TABLE(X) \
  X(cAddDigit, 1, "R", 'I', "Txt") \
  X(cAlign, 2, "RIL", 'S', "Txt Mode Width") \
  X(cAndToken, 3, "VV", 'I', "Txt Tokens") \
  X(cAndTokenIn, 4, "VVV", 'I', "Txt Tokens Sep") \
  X(cArabicToRoman, 5, "X", 'S', "Number") \
  X(cBlockCharFromLeft, 6, "RL", 'S', "Txt Count") \
  X(cBlockCharFromRight, 7, "RL", 'S', "Txt Count") \
  X(cChangeChars, 8, "WRR", 'I', "Txt OldChars NewChars") \
  X(cChangeCharsUntil, 9, "WRRR", 'I', "Txt OldChars NewChars StopChars") \
  X(cCheckChars, 10, "RR", 'I', "Txt Chars") \
  X(cCheckNumericity, 11, "R", 'I', "Txt") \
  X(cCnvASCIItoEBCDIC, 12, "W", 'I', "Txt") \
  X(cCnvEBCDICtoASCII, 13, "W", 'I', "Txt") \
  X(cCompact, 14, "R", 'S', "Txt") \
  X(cCompress, 15, "R", 'S', "Txt") \
  X(cCompressTab, 16, "RL", 'S', "Txt Width") \
  X(cCount, 17, "RR", 'I', "Txt Sep") \
  X(cCplAlpha, 18, "R", 'S', "Txt") \
  X(cCplDigit, 19, "R", 'S', "Txt") \
  X(cCreateAndFill, 20, "LR", 'S', "Length Filler") \
  X(cExpandTab, 21, "RL", 'S', "Txt Width") \
  X(cFill, 22, "WR", 'I', "Txt Filler") \
  X(cFilterBlocks, 23, "RR", 'S', "Txt Delimiters") \
  X(cFilterChars, 24, "RR", 'S', "Txt Chars") \
  X(cFilterFirstChars, 25, "RR", 'S', "Txt Prefix") \
  X(cFilterNotChars, 26, "RR", 'S', "Txt Chars") \
  X(cFromHexa, 27, "R", 'S', "Txt") \
  X(cGet, 28, "RL", 'S', "Txt Index") \
  X(cGetBlock, 29, "RLL", 'S', "Txt BlockNumber BlockSize") \
  X(cGetIn, 30, "RRL", 'S', "Txt Sep Index") \
  X(cGetInPart, 31, "RRL", 'S', "Txt Sep FirstPart") \
  X(cGetInPartR, 32, "RRL", 'S', "Txt Sep FirstPart") \
  X(cGetInR, 33, "RRL", 'S', "Txt Sep Index") \
  X(cH2I, 34, "V", 'I', "Txt") \
  X(cH2L, 35, "V", 'L', "Txt") \
  X(cInsertBlocks, 36, "RR", 'S', "Txt Blocks") \
  X(cInsertBlocksBy, 37, "RRR", 'S', "Txt Blocks Sep") \
  X(cInsertByMask, 38, "RRR", 'S', "Mask MaskChar Txt") \
  X(cInsertChars, 39, "RLR", 'S', "Txt Position Insertion") \
  X(cLrc, 40, "R", 'S', "Txt") \
  X(cMixChars, 41, "R", 'S', "Txt") \
  X(cMorse, 42, "V", 'S', "Txt") \
  X(cNumDigit, 43, "R", 'I', "Txt") \
  X(cOneCharFromLeft, 44, "RL", 'S', "Txt Position") \
  X(cOneCharFromRight, 45, "RL", 'S', "Txt Position") \
  X(cOrToken, 46, "VV", 'I', "Txt Tokens") \
  X(cOrTokenIn, 47, "VVV", 'I', "Txt Tokens Sep") \
  X(cPatternExtMatch, 48, "VV", 'L', "Txt Pattern") \
  X(cPatternMatch, 49, "VV", 'L', "Txt Pattern") \
  X(cProperName2, 50, "RVI", 'S', "Txt Exceptions Options") \
  X(cProperName, 51, "R", 'S', "Txt") \
  X(cRemoveBlockChar, 52, "RLL", 'S', "Txt Position Count") \
  X(cRemoveOneChar, 53, "RL", 'S', "Txt Position") \
  X(cResizeString, 54, "RL", 'S', "Txt NewLength") \
  X(cResizeStringAndFill, 55, "RLR", 'S', "Txt NewLength Filler") \
  X(cReverse, 56, "R", 'S', "Txt") \
  X(cRomanToArabic, 57, "R", 'X', "Txt") \
  X(cScrollL, 58, "R", 'S', "Txt") \
  X(cScrollR, 59, "R", 'S', "Txt") \
  X(cSetDefaultSeparator, 60, "R", 'N', "Sep") \
  X(cStringSAR, 61, "VVVI", 'S', "Txt Find Replace MatchCase") \
  X(cToHexa, 62, "R", 'S', "Txt") \
  X(cTokenIn, 63, "RRL", 'S', "Txt Seps Index") \
  X(cUncompact, 64, "R", 'S', "Txt") \

namespace twinekit {

struct ExportInfo {
  std::string_view name;
  int ordinal;
  std::string_view args;
  char result;
  std::string_view params;  // the argument names, separated by single blanks
};

#define TK_EXPORT_INFO(name, ordinal, args, result, params) \
  ExportInfo{#name, ordinal, args, result, params},
inline constexpr std::array<ExportInfo, 64> kExports = {TK_EXPORT_TABLE(TK_EXPORT_INFO)};
#undef TK_EXPORT_INFO

// The entry for name, or null.
constexpr const ExportInfo* FindExport(std::string_view name) {
  for (const ExportInfo& e : kExports) {
    if (e.name == name) return &e;
  }
  return nullptr;
}

// True when every export has one argument name for each argument kind.
constexpr bool OneNameForEachArgument() {
  for (const ExportInfo& e : kExports) {
    size_t words = e.params.empty() ? 0 : 1;
    for (char c : e.params) words += c == ' ';
    if (words != e.args.size()) return false;
  }
  return true;
}
static_assert(OneNameForEachArgument(), "an export's argument names do not match its kinds");

}  // namespace twinekit
