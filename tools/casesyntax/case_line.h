// Case lines: one export called with given arguments and what it must
// give, one call a line.  The behaviour cases (tests/cases/*.cases, one
// family a file) run through the native library and through both DLLs
// under Wine, and `tkcall --check` runs anyone's, so this code uses nothing
// but the standard library.
//
//   cGetIn 'a|b|c' '|' 2 => 'b'
//   cFill 'HELLO' 'ab' => -1 after 'ababa'
//   cRomanToArabic 'mcm' => i4:1900
//   cMixChars 'abc' => 'cab' clock 1700000000
//   cSetDefaultSeparator ','
//
// Arguments and results are written in tkcall's syntax (values.h), their
// kinds taken from the export table.  "after" gives the
// bytes an in-place export leaves in its first argument; "clock" fixes the
// seconds the generator's seed is read from (only the native build can).
// A case may depend on state an earlier one left, such as the default
// separator; a file leaves that state as it found it.
#pragma once

#include <cstdint>
#include <optional>
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

// The case lines of a text; blank lines and lines that start with # are
// passed over.  A line that does not parse is reported in errors, as
// "family:line: what".
struct CaseFile {
  std::string_view family;
  std::vector<Case> cases;
};
CaseFile ParseCaseText(std::string_view family, std::string_view text,
                       std::vector<std::string>& errors);

// One line; empty on success, else what is wrong.
std::string ParseCase(std::string_view line, Case& out);

// One call: a case line whose "=>" and result may be left out.
std::string ParseCall(std::string_view line, Case& out);

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

// The case line of c's call with what the library gave: the export, the
// arguments, "=>" and the result, "after" and the in-place argument.  A
// null string result is written @null, which no case line may expect.
std::string CaseLine(const Case& c, const Outcome& seen);

}  // namespace tkcases
