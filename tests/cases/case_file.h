// Behaviour cases: one export called with given arguments and what it must
// give, one case a line, one family a file (tests/cases/*.cases).  The
// same files run through the native library and through both DLLs under
// Wine, so this code uses nothing but the standard library.
//
//   cGetIn 'a|b|c' '|' 2 => 'b'
//   cFill 'HELLO' 'ab' => -1 after 'ababa'
//   cRomanToArabic 'mcm' => i4:1900
//   cMixChars 'abc' => 'cab' clock 1700000000
//   cSetDefaultSeparator ','
//
// Arguments and results are written in tkcall's syntax (tools/hostcall/
// values.h), their kinds taken from the export table.  "after" gives the
// bytes an in-place export leaves in its first argument; "clock" fixes the
// seconds the generator's seed is read from (only the native build can).
// A case may depend on state an earlier one left, such as the default
// separator; a file leaves that state as it found it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "exports/export_table.h"
#include "values.h"

namespace tkcases {

struct Case {
  const twinekit::ExportInfo* info = nullptr;
  std::vector<tkhost::Value> args;
  tkhost::Value want;                // by the result kind; nothing for none
  std::optional<std::string> after;  // the in-place argument after the call
  int64_t clock = -1;                // seconds since 1970, or -1: the real clock
  std::string where;                 // "family:line", for messages
  std::string text;                  // the line itself
};

struct CaseFile {
  std::string_view family;
  std::vector<Case> cases;
};

// Every case file, parsed.  A line that does not parse is reported in
// errors, as "family:line: what".
struct CaseSet {
  std::vector<CaseFile> files;
  std::vector<std::string> errors;
};
const CaseSet& AllCases();

// One line; empty on success, else what is wrong.
std::string ParseCase(std::string_view line, Case& out);

// The case files' texts, compiled into the program.
struct CaseText {
  std::string_view family;
  std::string_view text;
};
std::span<const CaseText> CaseTexts();

// What a runner saw when it called an export for a case.
struct Outcome {
  std::string error;             // the call could not be made, or hurt the host
  bool result_null = false;      // a string result was a null BSTR
  bool result_aliased = false;   // a string result was one of the caller's own
  std::string bytes;             // a string result
  int64_t number = 0;            // an Integer or Long result, sign-extended
  uint16_t vt = 0;               // a Variant result's type
  std::string after;             // the in-place argument after the call
  std::string changed_argument;  // what the export did to an argument it must not change
};

// Empty when the outcome is what the case wants; otherwise what differed.
std::string CheckOutcome(const Case& c, const Outcome& seen);

}  // namespace tkcases
