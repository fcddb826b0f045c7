#include "support/native_runner.h"

#include "host_call.h"
#include "twinekit_test_hooks.h"

namespace tksupport {
namespace {

// Fixes the clock and arms the fault for the export's own call only, and
// counts the allocations it attempts.
class Watch : public tkhost::CallWatch {
 public:
  Watch(const tkcases::Case& c, Fault fault) : case_(c), fault_(fault) {}
  void Before() override {
    if (case_.clock >= 0) tk_test_set_clock(case_.clock);
    scratch_ = tk_test_scratch_allocations();
    bstrs_ = tk_test_bstr_allocations();
    if (fault_.kind == Fault::kScratch) tk_test_fail_scratch(fault_.k, fault_.persistent);
    if (fault_.kind == Fault::kBstr) tk_test_fail_bstr(fault_.k, fault_.persistent);
  }
  std::string After(const void*) override {
    tk_test_fail_scratch(0, 0);
    tk_test_fail_bstr(0, 0);
    if (case_.clock >= 0) tk_test_set_clock(-1);
    scratch_ = tk_test_scratch_allocations() - scratch_;
    bstrs_ = tk_test_bstr_allocations() - bstrs_;
    return {};
  }
  int64_t scratch_ = 0, bstrs_ = 0;

 private:
  const tkcases::Case& case_;
  Fault fault_;
};

// Runs call and counts what it left alive into *allocations.
template <typename Call>
auto Counting(const Watch& watch, Allocations* allocations, Call call) {
  const int64_t live_scratch = tk_test_live_scratch();
  const int64_t live_bstrs = tk_test_live_bstrs();
  auto out = call();
  if (allocations != nullptr) {
    *allocations = {watch.scratch_, watch.bstrs_, tk_test_live_scratch() - live_scratch,
                    tk_test_live_bstrs() - live_bstrs};
  }
  return out;
}

}  // namespace

tkcases::Outcome RunNative(const tkcases::Case& c, Fault fault, Allocations* allocations) {
  Watch watch(c, fault);
  return Counting(watch, allocations, [&] {
    return tkhost::RunCase(c, tkhost::CallTyped, tkhost::kSlotGarbage[0], &watch);
  });
}

std::string CheckNative(const tkcases::Case& c, Allocations* left) {
  Watch watch(c, {});
  return Counting(watch, left, [&] { return tkhost::CheckCase(c, tkhost::CallTyped, &watch); });
}

}  // namespace tksupport
