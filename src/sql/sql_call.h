// One call of an export from SQL values, with the rules every SQL face
// shares, so that SQLite and PostgreSQL give the same answers:
//
// - NULL in any argument gives NULL, and the export is not called.
// - Arguments are read by their kind (sql_arguments.h); one of the wrong
//   type or out of range is an error whose message names the function and
//   the argument.
// - A string result is a BLOB when the first string argument was a BLOB,
//   TEXT otherwise.  An in-place function (cChangeChars, cChangeCharsUntil,
//   cFill, cCnvASCIItoEBCDIC, cCnvEBCDICtoASCII) gives the text it changed,
//   not its number.  Integer and Long results are INTEGERs (True is -1), as
//   is cRomanToArabic's Long.
// - The default separator is the connection's (SqlSession), not the
//   process's: cSetDefaultSeparator sets the session's byte (when its text
//   is not empty) and gives NULL; cGet is cGetIn with the session's byte.
// - A string result longer than the engine's limit gives kTooBig; memory
//   that cannot be had gives kNoMemory.
//
// The result and the message stay the call's, valid until it is destroyed:
// a face copies them into its engine's memory, destroys the call, and only
// then reports an error (an engine's error report may not return).
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "call/export_call.h"
#include "sql/sql_arguments.h"
#include "sql/sql_value.h"

namespace twinekit::sql {

// What a connection keeps between calls.
struct SqlSession {
  uint8_t separator = '|';
};

class SqlCall {
 public:
  SqlCall(const ExportInfo& e, SqlSession& session);
  ~SqlCall();
  SqlCall(const SqlCall&) = delete;
  SqlCall& operator=(const SqlCall&) = delete;

  // Calls the export once with values, one for each of its arguments, and
  // a string result of at most limit bytes.
  SqlStatus Run(std::span<const SqlValue> values, size_t limit);

  // After kValue: an INTEGER, TEXT or a BLOB, its bytes the call's own.
  const SqlValue& result() const { return result_; }
  // After kError: what was wrong.
  std::string_view message() const { return message_.data(); }

 private:
  SqlStatus ReadArguments(std::span<const SqlValue> values);
  SqlStatus ReadArgument(size_t slot, size_t own, const SqlValue& v);
  SqlStatus SetSeparator(const SqlValue& v);
  SqlStatus MakeResult(bool blob, size_t limit);

  const ExportInfo& export_;
  SqlSession& session_;
  call::ExportCall call_;
  VARIANT variant_{};
  SqlValue result_;
  Message message_;  // written before it is read, after kError
};

}  // namespace twinekit::sql
