// The bookkeeping of one pool of blocks in the test variant: how many are
// alive, how many allocations were attempted and how many failed, and which
// attempt must fail.
#pragma once

#include <atomic>
#include <cstdint>

namespace twinekit::testing {

class AllocationLedger {
 public:
  // Counts an attempt; false when the test asked for this one to fail.
  bool Admit() {
    const int64_t attempt = attempts_.fetch_add(1, std::memory_order_relaxed) + 1;
    const int64_t fail_at = fail_at_.load(std::memory_order_relaxed);
    if (fail_at <= 0 || attempt < fail_at) return true;
    if (attempt == fail_at || persistent_.load(std::memory_order_relaxed)) {
      Failed();
      return false;
    }
    return true;
  }
  // An admitted attempt for which no memory could be had.
  void Failed() { failures_.fetch_add(1, std::memory_order_relaxed); }
  void Allocated() { live_.fetch_add(1, std::memory_order_relaxed); }
  void Freed() { live_.fetch_sub(1, std::memory_order_relaxed); }

  int64_t live() const { return live_.load(std::memory_order_relaxed); }
  int64_t attempts() const { return attempts_.load(std::memory_order_relaxed); }
  int64_t failures() const { return failures_.load(std::memory_order_relaxed); }

  // k = 1 fails the next attempt; k <= 0 turns failures off.
  void FailFromNow(int64_t k, bool persistent) {
    persistent_.store(persistent, std::memory_order_relaxed);
    fail_at_.store(k <= 0 ? 0 : attempts() + k, std::memory_order_relaxed);
  }

 private:
  std::atomic<int64_t> live_{0};
  std::atomic<int64_t> attempts_{0};
  std::atomic<int64_t> failures_{0};
  std::atomic<int64_t> fail_at_{0};
  std::atomic<bool> persistent_{false};
};

}  // namespace twinekit::testing
