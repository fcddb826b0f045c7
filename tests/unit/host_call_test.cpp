// The host call's own check (tools/hostcall), which every native test, the
// fuzzer and the DLL harness rely on: each way an export can hurt its host
// must be reported.  The calls here misbehave on purpose after the real
// export has run.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "host_call.h"

namespace {

using Harm = std::function<void(tkhost::HostArgs&, tkhost::Returned&)>;

struct Misbehaviour {
  const char* what;
  const char* line;  // a case line whose export misbehaves
  Harm harm;
  const char* reported;  // in what CheckOutcome says
};

uint8_t* Payload(BSTR s) { return reinterpret_cast<uint8_t*>(s); }

const Misbehaviour kMisbehaviours[] = {
    {"a write on the terminator", "cFill 'abc' 'x' => -1 after 'xxx'",
     [](tkhost::HostArgs& a, tkhost::Returned&) { Payload(*a.variable(0))[3] = 'x'; },
     "wrote past the byte count of its argument 1"},
    {"a changed byte count", "cFill 'abc' 'x' => -1 after 'xxx'",
     [](tkhost::HostArgs& a, tkhost::Returned&) { reinterpret_cast<uint32_t*>(*a.variable(0))[-1] = 2; },
     "changed the byte count of its argument from 3 to 2"},
    {"a replaced variable", "cReverse 'abc' => 'cba'",
     [](tkhost::HostArgs& a, tkhost::Returned&) { *a.variable(0) = nullptr; },
     "replaced the caller's variable 1"},
    {"a changed read-only string", "cCount 'a|b' '|' => 1",
     [](tkhost::HostArgs& a, tkhost::Returned&) { Payload(*a.variable(1))[0] = ','; },
     "changed read-only argument 2"},
    {"a changed Variant", "cArabicToRoman i4:4 => 'iv'",
     [](tkhost::HostArgs& a, tkhost::Returned&) { a.variant(0)->lVal = 5; },
     "changed the caller's Variant 1"},
    {"the host's own string as the result", "cReverse 'abc' => 'abc'",
     [](tkhost::HostArgs& a, tkhost::Returned& r) {
       SysFreeString(r.string);
       r.string = *a.variable(0);
     },
     "the result is one of the caller's BSTRs"},
    {"a result cut short by its count", "cReverse 'abc' => 'cb'",
     [](tkhost::HostArgs&, tkhost::Returned& r) { reinterpret_cast<uint32_t*>(r.string)[-1] = 2; },
     "no terminator after it"},
};

TEST(HostCall, ReportsEveryHarmToTheHost) {
  for (const Misbehaviour& m : kMisbehaviours) {
    tkcases::Case c;
    ASSERT_EQ(tkcases::ParseCase(m.line, c), "") << m.line;
    const std::string seen = tkhost::CheckCase(c, [&](tkhost::HostArgs& a) {
      tkhost::Returned r = tkhost::CallTyped(a);
      m.harm(a, r);
      return r;
    });
    EXPECT_NE(seen.find(m.reported), std::string::npos) << m.what << ": " << seen;
  }
}

}  // namespace
