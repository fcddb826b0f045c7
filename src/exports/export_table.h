// The export table: every export with its ordinal, the kinds of its
// arguments and the kind of its result.  Tools and tests read it; the
// module-definition file beside it fixes the same names and ordinals.
//
// Argument kinds: R string by reference, W string by reference changed in
// place, V string by value, L Long, I Integer (low 16 bits of a 32-bit slot),
// X Variant by reference.  Result kinds: S byte string, I Integer, L Long,
// X Variant (subtype Long), N none.
#pragma once

#include <array>
#include <string_view>

namespace twinekit {

struct ExportInfo {
  std::string_view name;
  int ordinal;
  std::string_view args;
  char result;
};

inline constexpr std::array<ExportInfo, 64> kExports = {{
    {"cAddDigit", 1, "R", 'I'},
    {"cAlign", 2, "RIL", 'S'},
    {"cAndToken", 3, "VV", 'I'},
    {"cAndTokenIn", 4, "VVV", 'I'},
    {"cArabicToRoman", 5, "X", 'S'},
    {"cBlockCharFromLeft", 6, "RL", 'S'},
    {"cBlockCharFromRight", 7, "RL", 'S'},
    {"cChangeChars", 8, "WRR", 'I'},
    {"cChangeCharsUntil", 9, "WRRR", 'I'},
    {"cCheckChars", 10, "RR", 'I'},
    {"cCheckNumericity", 11, "R", 'I'},
    {"cCnvASCIItoEBCDIC", 12, "W", 'I'},
    {"cCnvEBCDICtoASCII", 13, "W", 'I'},
    {"cCompact", 14, "R", 'S'},
    {"cCompress", 15, "R", 'S'},
    {"cCompressTab", 16, "RL", 'S'},
    {"cCount", 17, "RR", 'I'},
    {"cCplAlpha", 18, "R", 'S'},
    {"cCplDigit", 19, "R", 'S'},
    {"cCreateAndFill", 20, "LR", 'S'},
    {"cExpandTab", 21, "RL", 'S'},
    {"cFill", 22, "WR", 'I'},
    {"cFilterBlocks", 23, "RR", 'S'},
    {"cFilterChars", 24, "RR", 'S'},
    {"cFilterFirstChars", 25, "RR", 'S'},
    {"cFilterNotChars", 26, "RR", 'S'},
    {"cFromHexa", 27, "R", 'S'},
    {"cGet", 28, "RL", 'S'},
    {"cGetBlock", 29, "RLL", 'S'},
    {"cGetIn", 30, "RRL", 'S'},
    {"cGetInPart", 31, "RRL", 'S'},
    {"cGetInPartR", 32, "RRL", 'S'},
    {"cGetInR", 33, "RRL", 'S'},
    {"cH2I", 34, "V", 'I'},
    {"cH2L", 35, "V", 'L'},
    {"cInsertBlocks", 36, "RR", 'S'},
    {"cInsertBlocksBy", 37, "RRR", 'S'},
    {"cInsertByMask", 38, "RRR", 'S'},
    {"cInsertChars", 39, "RLR", 'S'},
    {"cLrc", 40, "R", 'S'},
    {"cMixChars", 41, "R", 'S'},
    {"cMorse", 42, "V", 'S'},
    {"cNumDigit", 43, "R", 'I'},
    {"cOneCharFromLeft", 44, "RL", 'S'},
    {"cOneCharFromRight", 45, "RL", 'S'},
    {"cOrToken", 46, "VV", 'I'},
    {"cOrTokenIn", 47, "VVV", 'I'},
    {"cPatternExtMatch", 48, "VV", 'L'},
    {"cPatternMatch", 49, "VV", 'L'},
    {"cProperName2", 50, "RVI", 'S'},
    {"cProperName", 51, "R", 'S'},
    {"cRemoveBlockChar", 52, "RLL", 'S'},
    {"cRemoveOneChar", 53, "RL", 'S'},
    {"cResizeString", 54, "RL", 'S'},
    {"cResizeStringAndFill", 55, "RLR", 'S'},
    {"cReverse", 56, "R", 'S'},
    {"cRomanToArabic", 57, "R", 'X'},
    {"cScrollL", 58, "R", 'S'},
    {"cScrollR", 59, "R", 'S'},
    {"cSetDefaultSeparator", 60, "R", 'N'},
    {"cStringSAR", 61, "VVVI", 'S'},
    {"cToHexa", 62, "R", 'S'},
    {"cTokenIn", 63, "RRL", 'S'},
    {"cUncompact", 64, "R", 'S'},
}};

// The entry for name, or null.
constexpr const ExportInfo* FindExport(std::string_view name) {
  for (const ExportInfo& e : kExports) {
    if (e.name == name) return &e;
  }
  return nullptr;
}

}  // namespace twinekit
