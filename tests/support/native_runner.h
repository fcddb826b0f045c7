// Runs behaviour cases through the native library as a Basic host calls
// it (tools/hostcall), with the test variant's hooks: a chosen allocation
// made to fail, the clock fixed, allocations counted.
#pragma once

#include <cstdint>
#include <string>

#include "cases/case_file.h"

namespace tksupport {

// An allocation to fail during the call: the k-th scratch buffer or BSTR
// the export asks for (k = 1: the first), once or from then on.
struct Fault {
  enum Kind { kNone, kScratch, kBstr } kind = kNone;
  int64_t k = 0;
  bool persistent = false;
};

// What the call asked of the allocators, and what it left alive.
struct Allocations {
  int64_t scratch = 0, bstrs = 0;  // attempted
  int64_t live_scratch = 0, live_bstrs = 0;  // left alive, the result excepted
};

// Calls the case's export once and reports what happened.  What was left
// alive is counted across the process: it means something only when no
// other thread calls the library.
tkcases::Outcome RunNative(const tkcases::Case& c, Fault fault = {},
                           Allocations* allocations = nullptr);

// Runs the case with each slot garbage pattern it needs (tkhost::CheckCase);
// the first difference from what it wants, or empty.  left counts what the
// calls left alive.
std::string CheckNative(const tkcases::Case& c, Allocations* left = nullptr);

}  // namespace tksupport
