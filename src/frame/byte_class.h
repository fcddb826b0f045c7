// A class of byte values that the scan kernels test 16 or 32 bytes at a
// time: its members as runs of consecutive values, a run of one value
// tested by one compare, a wider run by one unsigned range compare.  A
// class of more than kMaxRuns runs is tested through its bit set.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "frame/byte_set.h"
#include "frame/bytes.h"

namespace twinekit {

class ByteClass {
 public:
  static constexpr size_t kMaxRuns = 8;

  // The class of one value.
  explicit ByteClass(uint8_t value) : count_(1), singles_(1) {
    set_.Add(value);
    values_[0] = value;
    single_[0] = value;
  }

  // The class of the values listed in members (any order, repeats allowed).
  explicit ByteClass(Bytes members) {
    for (const uint8_t b : members) {
      if (set_.Contains(b)) continue;
      set_.Add(b);
      size_t at = count_++;
      for (; at > 0 && values_[at - 1] > b; --at) values_[at] = values_[at - 1];
      values_[at] = b;
    }
    MakeRuns();
  }

  bool Contains(uint8_t b) const { return set_.Contains(b); }
  bool empty() const { return count_ == 0; }
  bool one_value() const { return count_ == 1; }

  // Takes b out of the class.
  void Remove(uint8_t b) {
    if (!set_.Contains(b)) return;
    set_.Remove(b);
    size_t at = 0;
    while (values_[at] != b) ++at;
    for (; at + 1 < count_; ++at) values_[at] = values_[at + 1];
    --count_;
    MakeRuns();
  }

  // Whether the runs describe the class; when not, only Contains does.
  bool by_runs() const { return singles_ + ranges_ <= kMaxRuns; }
  // Runs of one value, and wider runs as their lowest value and their
  // width less one; valid when by_runs().
  size_t singles() const { return singles_; }
  uint8_t single(size_t k) const { return single_[k]; }
  size_t ranges() const { return ranges_; }
  uint8_t range_low(size_t k) const { return range_low_[k]; }
  uint8_t range_span(size_t k) const { return range_span_[k]; }

 private:
  void MakeRuns() {
    singles_ = 0;
    ranges_ = 0;
    for (size_t i = 0; i < count_;) {
      size_t j = i;
      while (j + 1 < count_ && values_[j + 1] == values_[j] + 1) ++j;
      if (i == j) {
        if (singles_ < kMaxRuns) single_[singles_] = values_[i];
        ++singles_;
      } else {
        if (ranges_ < kMaxRuns) {
          range_low_[ranges_] = values_[i];
          range_span_[ranges_] = static_cast<uint8_t>(values_[j] - values_[i]);
        }
        ++ranges_;
      }
      i = j + 1;
    }
  }

  // Only the first count_ values and the runs MakeRuns filled are ever
  // read, so the arrays are left uninitialised: a short call would spend
  // more on clearing them than on its scan.
  ByteSet set_;
  size_t count_ = 0;
  size_t singles_ = 0;
  size_t ranges_ = 0;
  std::array<uint8_t, 256> values_;
  std::array<uint8_t, kMaxRuns> single_;
  std::array<uint8_t, kMaxRuns> range_low_;
  std::array<uint8_t, kMaxRuns> range_span_;
};

}  // namespace twinekit
