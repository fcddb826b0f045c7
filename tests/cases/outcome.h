// What a runner saw when it called an export for a case, and the check of
// that against the case.  Shared by the native runner and the DLL harness.
#pragma once

#include <cstdint>
#include <string>

#include "cases/case.h"

namespace tkcases {

struct Outcome {
  std::string error;            // set by the runner when the call could not be made
  bool result_null = false;     // a string result was a null BSTR
  bool result_aliased = false;  // a string result was one of the caller's BSTRs
  std::string bytes;            // a string result
  int64_t number = 0;           // an Integer or Long result, sign-extended
  uint16_t vt = 0;              // a Variant result's type
  std::string after;            // the in-place argument after the call
  std::string changed_argument; // a read-only argument that changed, if any
};

// Empty when the outcome is what the case wants; otherwise what differed.
std::string CheckOutcome(const Case& c, char result_kind, const Outcome& seen);

// The case as one line, bytes escaped: for failure messages.
std::string Describe(const Case& c, std::string_view arg_kinds);

// Bytes with every byte outside printable ASCII (and the backslash) as \xHH.
std::string Escape(std::string_view bytes);

}  // namespace tkcases
