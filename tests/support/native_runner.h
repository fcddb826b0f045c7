// Runs behaviour cases through the native shared library, building the
// arguments the way a Basic host does.
#pragma once

#include "cases/case.h"
#include "cases/outcome.h"

namespace tksupport {

// An allocation to fail during the call: the k-th scratch buffer or BSTR
// the export asks for (k = 1: the first), once or from then on.
struct Fault {
  enum Kind { kNone, kScratch, kBstr } kind = kNone;
  int64_t k = 0;
  bool persistent = false;
};

// Allocations the export attempted during one call.
struct Attempts {
  int64_t scratch = 0;
  int64_t bstrs = 0;
};

// Calls the case's export once and reports what happened.
tkcases::Outcome RunNative(const tkcases::Case& c, Fault fault = {},
                           Attempts* attempts = nullptr);

// The address of an export of the native library, or null.
void* FindNativeExport(std::string_view name);

}  // namespace tksupport
