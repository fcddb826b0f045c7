// A class of byte values that the scan kernels test 16 or 32 bytes at a
// time: its members as runs of consecutive values, a run of one value
// tested by one compare, a wider run by one unsigned range compare.  A
// class of more than kMaxRuns runs is tested through its bit set.  Making
// one costs a bit a member and a few steps a run.
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
  explicit ByteClass(uint8_t value) : singles_(1) {
    set_.Add(value);
    single_[0] = value;
  }

  // The class of the values listed in members (any order, repeats allowed).
  explicit ByteClass(Bytes members) : set_(members) { MakeRuns(); }

  bool Contains(uint8_t b) const { return set_.Contains(b); }
  bool empty() const { return runs() == 0; }
  bool one_value() const { return singles_ == 1 && ranges_ == 0 && by_runs_; }

  // Takes b out of the class.
  void Remove(uint8_t b) {
    if (!set_.Contains(b)) return;
    set_.Remove(b);
    MakeRuns();
  }

  // Whether the runs describe the class; when not, only Contains does.
  bool by_runs() const { return by_runs_; }
  // Runs of one value, and wider runs as their lowest value and their
  // width less one; valid when by_runs().
  size_t singles() const { return singles_; }
  uint8_t single(size_t k) const { return single_[k]; }
  size_t ranges() const { return ranges_; }
  uint8_t range_low(size_t k) const { return range_low_[k]; }
  uint8_t range_span(size_t k) const { return range_span_[k]; }

 private:
  size_t runs() const { return singles_ + ranges_; }

  // The runs, read from the bit set a run at a time; past kMaxRuns runs
  // only that there are more is kept.
  void MakeRuns() {
    singles_ = 0;
    ranges_ = 0;
    by_runs_ = true;
    for (int v = set_.FirstMemberFrom(0); v < 256;) {
      const int end = set_.FirstNonMemberFrom(v);
      if (runs() == kMaxRuns) {
        by_runs_ = false;
        return;
      }
      if (end - v == 1) {
        single_[singles_++] = static_cast<uint8_t>(v);
      } else {
        range_low_[ranges_] = static_cast<uint8_t>(v);
        range_span_[ranges_++] = static_cast<uint8_t>(end - 1 - v);
      }
      v = set_.FirstMemberFrom(end);
    }
  }

  // Only the runs MakeRuns filled are ever read, so the arrays are left
  // uninitialised: a short call would spend more on clearing them than on
  // its scan.
  ByteSet set_;
  size_t singles_ = 0;
  size_t ranges_ = 0;
  bool by_runs_ = true;
  std::array<uint8_t, kMaxRuns> single_;
  std::array<uint8_t, kMaxRuns> range_low_;
  std::array<uint8_t, kMaxRuns> range_span_;
};

}  // namespace twinekit
