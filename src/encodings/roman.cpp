#include "encodings/encodings.h"

#include <array>

#include "encodings/roman_table.h"
#include "frame/result.h"

namespace twinekit::encodings {
namespace {

// How many times a row's value goes into *value, taken off it.  Below the
// thousands a row goes in at most three times, and subtracting is far
// quicker than dividing.
int32_t TakeRow(int32_t* value, int32_t row_value) {
  if (*value >= 4 * row_value) {
    const int32_t times = *value / row_value;
    *value %= row_value;
    return times;
  }
  int32_t times = 0;
  for (; *value >= row_value; *value -= row_value) ++times;
  return times;
}

// Letters in the numeral of value (value > 0); thousands make it unbounded.
uint64_t NumeralLength(int32_t value) {
  uint64_t length = 0;
  for (const RomanRow& row : kRomanRows) {
    length += static_cast<uint64_t>(TakeRow(&value, row.value)) * row.letters.size();
  }
  return length;
}

// Writes the numeral of value into out, which NumeralLength says is large
// enough, and returns its length.
size_t WriteNumeral(int32_t value, MutableBytes out) {
  size_t n = 0;
  for (const RomanRow& row : kRomanRows) {
    for (int32_t q = TakeRow(&value, row.value); q > 0; --q) {
      for (const char letter : row.letters) out[n++] = static_cast<uint8_t>(letter);
    }
  }
  return n;
}

// The letters by kind, so that a letter and the byte after it index one
// small table: 0 for a byte that is no letter, then m, d, c, l, x, v, i.
constexpr int kLetterKinds = 8;
constexpr char kLetters[] = "mdclxvi";
constexpr int32_t kLetterValues[kLetterKinds] = {0, 1000, 500, 100, 50, 10, 5, 1};

// For each letter and the byte after it: what the letter counts, and
// whether the two make a pair, whose second letter is then used up.  'vx'
// counts 5, as "v" alone does, and the "x" is used up with it.
struct RomanReading {
  std::array<uint8_t, 256> kind{};
  std::array<int32_t, kLetterKinds * kLetterKinds> value{};
  uint64_t pairs = 0;  // bit kLetterKinds × first + second
};

constexpr RomanReading kReading = [] {
  RomanReading r;
  for (int k = 1; k < kLetterKinds; ++k) r.kind[static_cast<uint8_t>(kLetters[k - 1])] = k;
  for (int first = 0; first < kLetterKinds; ++first) {
    for (int second = 0; second < kLetterKinds; ++second) {
      r.value[first * kLetterKinds + second] = kLetterValues[first];
    }
  }
  const struct {
    char first, second;
    int32_t value;
  } kPairs[] = {{'c', 'm', 900}, {'c', 'd', 400}, {'x', 'c', 90}, {'x', 'l', 40},
                {'v', 'x', 5},   {'i', 'v', 4},   {'i', 'x', 9}};
  for (const auto& p : kPairs) {
    const int at = r.kind[static_cast<uint8_t>(p.first)] * kLetterKinds +
                   r.kind[static_cast<uint8_t>(p.second)];
    r.value[at] = p.value;
    r.pairs |= uint64_t{1} << at;
  }
  return r;
}();

}  // namespace

BSTR ArabicToRoman(int32_t value) {
  // A negative value is below every row, so its numeral has no letters.
  if (value <= 0) return EmptyResult();
  // A numeral longer than the working area (the first is 245,888's) gives
  // the empty result, as a value with no numeral does, rather than a
  // truncated numeral.  Values with fewer thousands may still fit: 256,000
  // is 256 "m".
  if (NumeralLength(value) > kRomanAreaSize) return EmptyResult();
  return BuildResult(kRomanAreaSize, [&](MutableBytes out) { return WriteNumeral(value, out); });
}

int32_t RomanToArabic(Bytes txt) {
  uint32_t sum = 0;  // unsigned, so that it wraps as the Long does
  // Pairs are read from the left, so a letter counts unless the one before
  // it took it into a pair.  Carrying that as a flag keeps the walk free
  // of jumps that depend on the letters: each byte is looked up with the
  // byte after it (none after the last).
  bool used_up = false;
  auto read = [&](int kind, int next) {
    const int at = kind * kLetterKinds + next;
    sum += used_up ? 0 : static_cast<uint32_t>(kReading.value[at]);
    used_up = !used_up && ((kReading.pairs >> at) & 1) != 0;
  };
  if (txt.empty()) return 0;
  int kind = kReading.kind[txt[0]];
  for (size_t i = 1; i < txt.size(); ++i) {
    const int next = kReading.kind[txt[i]];
    read(kind, next);
    kind = next;
  }
  read(kind, 0);
  return static_cast<int32_t>(sum);
}

}  // namespace twinekit::encodings
