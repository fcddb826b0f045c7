// Every kernel of every form this CPU runs against the plain form: every
// byte value at every place of a 64-byte text at every alignment, random
// texts, classes and places, every pair of bytes read as digits, and the
// text passes on texts of every length around the block sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "encodings/ebcdic_tables.h"
#include "frame/kernels/kernel_table.h"

namespace {

using twinekit::ByteClass;
using twinekit::ByteTable;
using twinekit::Bytes;
using twinekit::MutableBytes;
namespace kernels = twinekit::kernels;
using kernels::Form;

// Each test runs once a form; a form the CPU lacks is skipped.
class EachForm : public ::testing::TestWithParam<Form> {
 protected:
  void SetUp() override {
    if (!kernels::UseForm(GetParam())) GTEST_SKIP() << "the CPU does not run this form";
  }
  void TearDown() override { kernels::UseForm(kernels::BestForm()); }

  static const kernels::KernelTable& fast() { return kernels::Kernels(); }
};

INSTANTIATE_TEST_SUITE_P(Forms, EachForm, ::testing::ValuesIn(kernels::kForms),
                         [](const auto& form) { return std::string(kernels::FormName(form.param)); });

const kernels::ScanKernels& plain_scan = kernels::kPlainScans;

// Every scan of s by c against the plain form, from and up to every place
// that matters for s's blocks and windows; Keep with room for the text and
// with room for the kept bytes only.
void ExpectSameScans(const kernels::ScanKernels& fast, Bytes s, const ByteClass& c) {
  const size_t total = plain_scan.count(s, c);
  ASSERT_EQ(fast.count(s, c), total);
  for (size_t n : {size_t{0}, size_t{1}, size_t{2}, size_t{3}, total / 2, total, total + 1}) {
    for (size_t at : {size_t{0}, size_t{1}, s.size() / 2, s.size(), s.size() + 1}) {
      ASSERT_EQ(fast.find_nth(s, at, c, n), plain_scan.find_nth(s, at, c, n)) << at << " " << n;
      ASSERT_EQ(fast.find_nth_last(s, at, c, n), plain_scan.find_nth_last(s, at, c, n))
          << at << " " << n;
    }
  }
  for (const bool keep : {false, true}) {
    std::vector<uint8_t> want(s.size());
    want.resize(plain_scan.keep(s, c, keep, want));
    for (const size_t room : {s.size(), want.size()}) {
      std::vector<uint8_t> got(room);
      got.resize(fast.keep(s, c, keep, got));
      ASSERT_EQ(got, want);
    }
  }
}

TEST_P(EachForm, ScansSeeEveryByteAtEveryPlaceAndAlignment) {
  std::vector<uint8_t> buffer(16 + 64);
  for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<uint8_t>(i * 37 + 11);
  const uint8_t set[] = {'0', '1', '2', '3', ' ', 0x00, 0xFF, 0x80};
  const ByteClass members{Bytes(set)};
  // More runs than the vector forms test by compares: values from both
  // halves of the table and at each edge of a high half.
  const uint8_t spread[] = {0x00, 0x0F, 0x10, ' ', '0', 0x3C, 0x5A, 0x7F, 0x80, 0x9E, 0xC3, 0xE1, 0xF0, 0xFF};
  const ByteClass many{Bytes(spread)};
  ASSERT_FALSE(many.by_runs());
  const kernels::ScanKernels& scan = *fast().scan;
  for (size_t align = 0; align < 16; ++align) {
    for (size_t place = 0; place < 64; ++place) {
      for (int v = 0; v < 256; ++v) {
        std::vector<uint8_t> text(buffer.begin() + static_cast<std::ptrdiff_t>(align),
                                  buffer.begin() + static_cast<std::ptrdiff_t>(align + 64));
        text[place] = static_cast<uint8_t>(v);
        const Bytes s(text);
        const ByteClass one(static_cast<uint8_t>(v));
        ASSERT_EQ(scan.count(s, one), plain_scan.count(s, one));
        ASSERT_EQ(scan.find_nth(s, 0, one, 1), plain_scan.find_nth(s, 0, one, 1));
        ASSERT_EQ(scan.find_nth_last(s, 64, one, 1), plain_scan.find_nth_last(s, 64, one, 1));
        std::vector<uint8_t> want(64), got(64);
        want.resize(plain_scan.keep(s, members, true, want));
        got.resize(scan.keep(s, members, true, MutableBytes(got).first(want.size())));
        ASSERT_EQ(got, want);
        ASSERT_EQ(scan.count(s, members), plain_scan.count(s, members));
        ASSERT_EQ(scan.count(s, many), plain_scan.count(s, many));
        ASSERT_EQ(scan.find_nth(s, 0, many, 2), plain_scan.find_nth(s, 0, many, 2));
        ASSERT_EQ(scan.find_nth_last(s, 64, many, 2), plain_scan.find_nth_last(s, 64, many, 2));
        want.resize(64);
        want.resize(plain_scan.keep(s, many, false, want));
        got.resize(64);
        got.resize(scan.keep(s, many, false, MutableBytes(got).first(want.size())));
        ASSERT_EQ(got, want);
      }
    }
  }
}

// Classes of one value, of a few runs, and of more runs than the vector
// forms test by compares; texts long enough for whole chunks of windows.
TEST_P(EachForm, ScansOfRandomTextsAndClasses) {
  std::mt19937 gen(7);
  for (int round = 0; round < 2000; ++round) {
    const int alphabet = round % 3 == 0 ? 256 : 6;
    std::vector<uint8_t> text(gen() % (round % 10 == 0 ? 13000 : 300));
    for (uint8_t& b : text) b = static_cast<uint8_t>(gen() % static_cast<uint32_t>(alphabet));
    std::vector<uint8_t> members(gen() % 40);
    for (uint8_t& b : members) b = static_cast<uint8_t>(gen() % 256);
    if (round % 2 == 0 && !text.empty()) members.push_back(text[gen() % text.size()]);
    ExpectSameScans(*fast().scan, Bytes(text), ByteClass(static_cast<uint8_t>(gen() % 8)));
    ByteClass c{Bytes(members)};
    ExpectSameScans(*fast().scan, Bytes(text), c);
    for (size_t k = 0; k < members.size() / 2; ++k) c.Remove(members[k]);
    ExpectSameScans(*fast().scan, Bytes(text), c);
  }
}

// Every pair of byte values, from every alignment, by both digit rules;
// every byte value written as digits.  Lengths cut at each alignment leave
// tails of every size after the widest form's blocks of 64 digits.
TEST_P(EachForm, HexReadsEveryPairAndWritesEveryByte) {
  const kernels::HexKernels& hex = *fast().hex;
  const kernels::HexKernels& plain = kernels::kPlainHex;
  std::vector<uint8_t> pairs(16 + 2 * 65536);
  for (size_t v = 0; v < 65536; ++v) {
    pairs[16 + 2 * v] = static_cast<uint8_t>(v >> 8);
    pairs[16 + 2 * v + 1] = static_cast<uint8_t>(v);
  }
  for (size_t align = 0; align < 64; ++align) {
    const Bytes in = Bytes(pairs).subspan(align + 16 - (align % 2), 2 * 65536 - 32 - align);
    std::vector<uint8_t> got(in.size() / 2), want(in.size() / 2);
    hex.read_signed_pairs(in, got.data());
    plain.read_signed_pairs(in, want.data());
    ASSERT_EQ(got, want) << align;
    hex.read_packed_pairs(in, got.data());
    plain.read_packed_pairs(in, want.data());
    ASSERT_EQ(got, want) << align;
    const Bytes bytes = in.first(256 + 3 * align);
    std::vector<uint8_t> got_digits(2 * bytes.size()), want_digits(2 * bytes.size());
    hex.write_digits(bytes, got_digits.data());
    plain.write_digits(bytes, want_digits.data());
    ASSERT_EQ(got_digits, want_digits) << align;
  }
}

// Texts of blanks, punctuation, letters of both cases and high bytes, of
// every length up to a few blocks of the widest form.
TEST_P(EachForm, TextPassesOfEveryLength) {
  const kernels::TextKernels& text = *fast().text;
  const kernels::TextKernels& plain = kernels::kPlainText;
  std::mt19937 gen(11);
  const uint8_t alphabet[] = {' ', ' ', 'a', 'z', 'A', 'Z', 'm', 'M', '@', '[', '`', '{',
                              '.', '-', '0', 0x00, 0xE9, 0xC9, 0x7E, 0x21, 0x2F, 0x3A};
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> in(static_cast<size_t>(round % 150));
    for (uint8_t& b : in) b = alphabet[gen() % sizeof alphabet];
    std::vector<uint8_t> got(in.size()), want(in.size());
    text.reverse(in, got.data());
    plain.reverse(in, want.data());
    ASSERT_EQ(got, want);
    text.raise_after_blanks(in, got.data());
    plain.raise_after_blanks(in, want.data());
    ASSERT_EQ(got, want);
    if (in.empty()) continue;
    for (const bool after_punct : {false, true}) {
      got = in;
      want = in;
      text.capitalise(got.data(), in.size() - 1, after_punct);
      plain.capitalise(want.data(), in.size() - 1, after_punct);
      ASSERT_EQ(got, want);
    }
    // Pairs of bytes at two distances, found from every start.
    const size_t first_at = gen() % in.size();
    const size_t second_at = gen() % in.size();
    const size_t last = in.size() - 1 - std::max(first_at, second_at);
    const uint8_t a = alphabet[gen() % sizeof alphabet];
    const uint8_t b = alphabet[gen() % sizeof alphabet];
    for (size_t from = 0; from <= last + 1; from += 1 + gen() % 5) {
      ASSERT_EQ(text.find_pair(in.data(), from, last, first_at, a, second_at, b),
                plain.find_pair(in.data(), from, last, first_at, a, second_at, b));
    }
  }
}

// in through a map by fast and by the plain form, into another buffer and
// in place, at every alignment of a buffer, with every length around the
// blocks of the widest form and one long length.
template <typename Map>
void ExpectSameMaps(const std::vector<uint8_t>& text, Map map) {
  std::vector<size_t> lengths(100);
  for (size_t n = 0; n < lengths.size(); ++n) lengths[n] = n;
  lengths.push_back(text.size());
  std::vector<uint8_t> buffer(32 + text.size());
  for (size_t align = 0; align < 32; ++align) {
    for (const size_t n : lengths) {
      const Bytes in = Bytes(text).first(n);
      std::vector<uint8_t> want(n);
      map(kernels::kPlainMaps, in, want.data());
      uint8_t* out = buffer.data() + align;
      map(*kernels::Kernels().map, in, out);
      ASSERT_TRUE(std::equal(want.begin(), want.end(), out)) << align << " " << n;
      std::copy(in.begin(), in.end(), out);
      map(*kernels::Kernels().map, Bytes(out, n), out);
      ASSERT_TRUE(std::equal(want.begin(), want.end(), out)) << align << " " << n << " in place";
    }
  }
}

// Every byte value, and the values ordered so that every one meets every
// place in a block.
std::vector<uint8_t> EveryByteText() {
  std::vector<uint8_t> text(3 * 256 + 7);
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<uint8_t>(i < 256 ? i : i * 167 + 3);
  return text;
}

TEST_P(EachForm, TableMapsOfEveryByteThroughEbcdicAndRandomTables) {
  std::vector<ByteTable> tables = {twinekit::encodings::kAsciiToEbcdic,
                                   twinekit::encodings::kEbcdicToAscii};
  std::mt19937 gen(13);
  for (int round = 0; round < 6; ++round) {
    ByteTable& table = tables.emplace_back();
    // Permutations, and tables of a few values repeated.
    for (size_t v = 0; v < 256; ++v) table[v] = static_cast<uint8_t>(round % 2 == 0 ? v : gen() % 4);
    std::shuffle(table.begin(), table.end(), gen);
  }
  for (const ByteTable& table : tables) {
    ExpectSameMaps(EveryByteText(), [&](const kernels::MapKernels& map, Bytes in, uint8_t* out) {
      map.table(in, out, table);
    });
  }
}

// Every count of changed values up to the most a kernel takes, to values
// changed and to values among the changed ones.
TEST_P(EachForm, FewValueMapsOfEveryCount) {
  std::mt19937 gen(17);
  for (size_t count = 0; count <= kernels::kMaxFewChanges; ++count) {
    std::vector<uint8_t> values(256);
    for (size_t v = 0; v < 256; ++v) values[v] = static_cast<uint8_t>(v);
    std::shuffle(values.begin(), values.end(), gen);
    const std::vector<uint8_t> from(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(count));
    std::vector<uint8_t> to(count);
    for (uint8_t& b : to) b = gen() % 2 == 0 ? values[gen() % (count + 1)] : static_cast<uint8_t>(gen());
    ExpectSameMaps(EveryByteText(), [&](const kernels::MapKernels& map, Bytes in, uint8_t* out) {
      map.few(in, out, Bytes(from), to.data());
    });
  }
}

// The choice: the best form runs unless a form is forced, and a form the
// CPU lacks cannot be forced.
TEST(KernelChoice, UsesTheFormAskedForOnlyWhenTheCpuRunsIt) {
  for (const Form form : kernels::kForms) {
    EXPECT_EQ(kernels::UseForm(form), kernels::CpuRuns(form));
    if (kernels::CpuRuns(form)) {
      EXPECT_EQ(kernels::Kernels().form, form);
    }
  }
  EXPECT_TRUE(kernels::CpuRuns(Form::kPlain));
  kernels::UseForm(kernels::BestForm());
  EXPECT_EQ(kernels::Kernels().form, kernels::BestForm());
}

// TWINEKIT_KERNELS: a form the CPU runs is taken; no value gives the best
// form quietly; any other value is refused, with the best form.
TEST(KernelChoice, RefusesAValueThatNamesNoFormTheCpuRuns) {
  for (const Form form : kernels::kForms) {
    const kernels::FormAskedFor asked = kernels::FormForValue(kernels::FormName(form));
    EXPECT_EQ(asked.form, kernels::CpuRuns(form) ? form : kernels::BestForm());
    EXPECT_EQ(asked.refusal == nullptr, kernels::CpuRuns(form));
  }
  for (const char* quiet : {static_cast<const char*>(nullptr), ""}) {
    EXPECT_EQ(kernels::FormForValue(quiet).form, kernels::BestForm());
    EXPECT_EQ(kernels::FormForValue(quiet).refusal, nullptr);
  }
  for (const char* unknown : {"AVX2", "sse", "plain ", "avx512", "x"}) {
    const kernels::FormAskedFor asked = kernels::FormForValue(unknown);
    EXPECT_EQ(asked.form, kernels::BestForm()) << unknown;
    EXPECT_NE(asked.refusal, nullptr) << unknown;
  }
}

}  // namespace
