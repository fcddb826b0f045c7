#include "support/native_runner.h"

#include "native_call.h"
#include "twinekit_test_hooks.h"

namespace tksupport {

tkcases::Outcome RunNative(const tkcases::Case& c, Fault fault, Allocations* allocations) {
  tkcases::Outcome seen;
  const int64_t live_scratch = tk_test_live_scratch();
  const int64_t live_bstrs = tk_test_live_bstrs();
  tkhost::Returned r;
  {
    tkhost::HostCall call(*c.info, c.args);
    if (c.clock >= 0) tk_test_set_clock(c.clock);
    const int64_t scratch_before = tk_test_scratch_allocations();
    const int64_t bstrs_before = tk_test_bstr_allocations();
    if (fault.kind == Fault::kScratch) tk_test_fail_scratch(fault.k, fault.persistent);
    if (fault.kind == Fault::kBstr) tk_test_fail_bstr(fault.k, fault.persistent);
    r = call.Invoke();
    tk_test_fail_scratch(0, 0);
    tk_test_fail_bstr(0, 0);
    if (c.clock >= 0) tk_test_set_clock(-1);
    if (allocations != nullptr) {
      allocations->scratch = tk_test_scratch_allocations() - scratch_before;
      allocations->bstrs = tk_test_bstr_allocations() - bstrs_before;
    }

    switch (c.info->result) {
      case 'S':
        seen.result_null = r.string == nullptr;
        seen.result_aliased = call.IsHostMemory(r.string);
        seen.bytes = tkhost::BytesOf(r.string);
        break;
      case 'I':
      case 'L': seen.number = r.number; break;
      case 'X':
        seen.vt = r.variant.vt;
        seen.number = r.variant.lVal;
        break;
    }
    seen.changed_argument = call.CheckArguments();
    if (c.info->args.starts_with('W')) seen.after = call.Bytes(0);
  }
  if (!seen.result_aliased) SysFreeString(r.string);
  if (allocations != nullptr) {
    allocations->live_scratch = tk_test_live_scratch() - live_scratch;
    allocations->live_bstrs = tk_test_live_bstrs() - live_bstrs;
  }
  return seen;
}

}  // namespace tksupport
