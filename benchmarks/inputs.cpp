#include "inputs.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>

namespace tkbench {
namespace {

// A fixed-seed linear congruential generator: the same picks on every run.
class Picker {
 public:
  size_t Next(size_t bound) {
    state_ = state_ * 6364136223846793005u + 1442695040888963407u;
    return static_cast<size_t>(state_ >> 33) % bound;
  }

 private:
  uint64_t state_ = 20240611;
};

using Words = std::span<const std::string_view>;

// head, then words picked at random, each after one byte of seps (none
// when seps is empty), cut to n bytes.
std::string Join(size_t n, std::string head, Words words, std::string_view seps) {
  Picker pick;
  std::string s = std::move(head);
  s.reserve(n + 64);
  while (s.size() < n) {
    if (!seps.empty()) s += seps[pick.Next(seps.size())];
    s += words[pick.Next(words.size())];
  }
  s.resize(n);
  return s;
}

constexpr std::string_view kFieldWords[] = {"Smith",        "John",        "42",
                               "Main Street",  "Springfield", "555-0134",
                               "Mary",         "Jones",       "1987-04-12",
                               "Baker",        "Paris",       "9.95",
                               "Lopez",        "Oak Avenue",  "Berlin",
                               "100",          "Oslo",        "Garcia",
                               "12 Rue Lepic", "Lyon",        "+33 4 72 00 00 00",
                               "2024-06-11"};

constexpr std::string_view kProseWords[] = {
    "the",       "invoice",      "for",        "order",    "4711",    "was",      "sent", "on",
    "Monday",    "(see note 3)", "total:",     "1,234.50", "abc",     "crabcake", "and",  "a",
    "tab\there", "of",           "Paris",      "shipping", "is",      "free",     "ABC",  "Abc-12",
    "\tamount",  "due",          "2024-06-11", "customer", "Smith",   "(paid)",   "with", "fabcon",
    "x",         "19.99",        "to",         "the",      "address", "below."};

constexpr std::string_view kCodeLines[] = {"    if (total > 0) {\n",
                              "        total += price * quantity;\n",
                              "    }\n",
                              "        return total;\n",
                              "            print(\"done\");\n",
                              "\n",
                              "    for item in items:\n",
                              "                break\n"};

constexpr std::string_view kRomanNumerals[] = {"mcmxciv",   "mmxxiv", "dccclxxxviii", "xlii", "cdxliv",
                                  "mmmcmxcix", "vii",    "lxxvi",        "cmxc", "xix"};

constexpr std::string_view kNames[] = {"jean de la fontaine,",
                          "ludwig van beethoven,",
                          "mary o'brien,",
                          "john mcdonald,",
                          "wernher von braun,",
                          "ana garcia,",
                          "li wei,",
                          "pierre dupont,",
                          "vincent van gogh,",
                          "anne-marie de la tour,",
                          "otto von bismarck,",
                          "sean o'neill,"};

constexpr std::string_view kBlockWords[] = {"John",     "order 4711", "Mary", "invoice 815",
                               "Mr Lopez", "parcel",     "Anna", "refund"};

constexpr std::string_view kMaskLine[] = {"(###) ###-####\n"};
constexpr std::string_view kLetterLine[] = {"Dear ~, your ~ is ready.\n"};

}  // namespace

std::string Fields(size_t n, char sep) {
  const std::string_view last = kLastField;
  std::string s = Join(n, "Anna", kFieldWords, std::string_view(&sep, 1));
  if (n <= last.size() + 1) return s;
  s.resize(n - last.size() - 1);
  s += sep;
  s += last;
  return s;
}

std::string MixedSeparators(size_t n) { return Join(n, "Anna", kFieldWords, ",; "); }

long FieldCount(const std::string& text, char sep) {
  return static_cast<long>(std::count(text.begin(), text.end(), sep)) + 1;
}

std::string Prose(size_t n) { return Join(n, "Dear", kProseWords, " "); }

std::string ProseWithoutAbc(size_t n) {
  std::string s = Prose(n);
  for (size_t at = s.find("abc"); at != std::string::npos; at = s.find("abc", at)) s[at + 2] = 'd';
  return s;
}

std::string Indented(size_t n) { return Join(n, "", kCodeLines, ""); }

std::string Digits(size_t n) {
  Picker pick;
  std::string s(n, '0');
  for (char& c : s) c = static_cast<char>('0' + pick.Next(10));
  return s;
}

std::string HexDigits(size_t n) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string s;
  for (unsigned char c : Prose(n / 2 + 1)) {
    s += kDigits[c >> 4];
    s += kDigits[c & 15];
  }
  s.resize(n);
  return s;
}

std::string RomanNumerals(size_t n) { return Join(n, "", kRomanNumerals, ""); }

std::string Names(size_t n) { return Join(n, "ana garcia,", kNames, " "); }

std::string Mask(size_t n) { return Join(n, "", kMaskLine, ""); }

std::string Template(size_t n, char placeholder) {
  std::string s = Join(n, "", kLetterLine, "");
  std::replace(s.begin(), s.end(), '~', placeholder);
  return s;
}

std::string Blocks(long k, char sep) {
  Picker pick;
  std::string s;
  for (long i = 0; i < k; ++i) {
    if (i > 0) s += sep;
    s += kBlockWords[pick.Next(std::size(kBlockWords))];
  }
  return s;
}

}  // namespace tkbench
