// The Morse code table: one word for each character from the blank (0x20)
// to "Z" (0x5A), indexed by the character's code less 0x20.
//
// A code word holds its symbols from bit 0 upward, 0 for a dot and 1 for a
// dash, with a single 1 bit just above the last symbol as its end marker:
// "E" (.) is 0x2, "T" (-) 0x3, "A" (.-) 0x6.  The blank holds the word gap,
// bit 15, and a character without a code holds 0.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace twinekit::encodings {

inline constexpr uint8_t kFirstMorseChar = 0x20;  // the blank
inline constexpr uint8_t kLastMorseChar = 0x5A;   // "Z"
inline constexpr uint32_t kMorseWordGap = 0x8000;

using MorseTable = std::array<uint32_t, kLastMorseChar - kFirstMorseChar + 1>;

// The word of a code written in dots and dashes.
constexpr uint32_t MorseWord(std::string_view code) {
  uint32_t word = 1u << code.size();  // the end marker
  for (size_t i = 0; i < code.size(); ++i) {
    if (code[i] == '-') word |= 1u << i;
  }
  return word;
}

namespace morse_internal {

struct Entry {
  char c;
  std::string_view code;
};

// International Morse code for letters and digits, and the five marks of
// punctuation that have a code here.  The hyphen is '-...-'.
inline constexpr Entry kCodes[] = {
    {'A', ".-"},     {'B', "-..."},   {'C', "-.-."},   {'D', "-.."},    {'E', "."},
    {'F', "..-."},   {'G', "--."},    {'H', "...."},   {'I', ".."},     {'J', ".---"},
    {'K', "-.-"},    {'L', ".-.."},   {'M', "--"},     {'N', "-."},     {'O', "---"},
    {'P', ".--."},   {'Q', "--.-"},   {'R', ".-."},    {'S', "..."},    {'T', "-"},
    {'U', "..-"},    {'V', "...-"},   {'W', ".--"},    {'X', "-..-"},   {'Y', "-.--"},
    {'Z', "--.."},   {'0', "-----"},  {'1', ".----"},  {'2', "..---"},  {'3', "...--"},
    {'4', "....-"},  {'5', "....."},  {'6', "-...."},  {'7', "--..."},  {'8', "---.."},
    {'9', "----."},  {',', "--..--"}, {'-', "-...-"},  {'.', ".-.-.-"}, {'/', "-..-."},
    {'?', "..--.."},
};

constexpr MorseTable BuildTable() {
  MorseTable table{};  // 0: no code
  table[' ' - kFirstMorseChar] = kMorseWordGap;
  for (const Entry& e : kCodes) {
    table[static_cast<uint8_t>(e.c) - kFirstMorseChar] = MorseWord(e.code);
  }
  return table;
}

}  // namespace morse_internal

inline constexpr MorseTable kMorseTable = morse_internal::BuildTable();

constexpr uint32_t MorseWordOf(char c) {
  return kMorseTable[static_cast<uint8_t>(c) - kFirstMorseChar];
}

static_assert(kMorseTable.size() == 59);
static_assert(MorseWordOf('E') == 0x2 && MorseWordOf('T') == 0x3 && MorseWordOf('A') == 0x6 &&
              MorseWordOf('0') == 0x3F);
static_assert(MorseWordOf(',') == 0x73 && MorseWordOf('-') == 0x31 && MorseWordOf('.') == 0x6A &&
              MorseWordOf('/') == 0x29 && MorseWordOf('?') == 0x4C);

}  // namespace twinekit::encodings
