#include "support/native_runner.h"

#include "native_call.h"
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
  void After() override {
    tk_test_fail_scratch(0, 0);
    tk_test_fail_bstr(0, 0);
    if (case_.clock >= 0) tk_test_set_clock(-1);
    scratch_ = tk_test_scratch_allocations() - scratch_;
    bstrs_ = tk_test_bstr_allocations() - bstrs_;
  }
  int64_t scratch_ = 0, bstrs_ = 0;

 private:
  const tkcases::Case& case_;
  Fault fault_;
};

}  // namespace

tkcases::Outcome RunNative(const tkcases::Case& c, Fault fault, Allocations* allocations) {
  const int64_t live_scratch = tk_test_live_scratch();
  const int64_t live_bstrs = tk_test_live_bstrs();
  Watch watch(c, fault);
  tkcases::Outcome seen = tkhost::RunCase(c, &watch);
  if (allocations != nullptr) {
    *allocations = {watch.scratch_, watch.bstrs_, tk_test_live_scratch() - live_scratch,
                    tk_test_live_bstrs() - live_bstrs};
  }
  return seen;
}

}  // namespace tksupport
