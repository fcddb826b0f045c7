// One call of an export from plain values, for a face that holds its own
// kind of values (a COM Variant, a JavaScript value, a SQL value) and
// translates them: strings as bytes in BSTRs that the call owns, numbers
// as whole numbers, a Variant as the caller's own.  After the call it holds
// the result and what each in-place argument became, and whether any byte
// of it changed, so that a face writes back only what the export changed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "call/typed_call.h"

namespace twinekit::call {

class ExportCall {
 public:
  explicit ExportCall(const ExportInfo& e) : export_(e) {}
  ~ExportCall();
  ExportCall(const ExportCall&) = delete;
  ExportCall& operator=(const ExportCall&) = delete;

  const ExportInfo& info() const { return export_; }

  // String argument i: the call takes the BSTR of bytes (null reads as
  // empty) and frees it when it ends.
  void TakeString(size_t i, BSTR bytes);
  // A Long or Integer argument (an Integer in the low 16 bits).
  void SetNumber(size_t i, int32_t n) { slots_.numbers[i] = n; }
  // A Variant argument, the caller's own: the export reads it in place.
  void SetVariant(size_t i, VARIANT* v) { slots_.variants[i] = v; }

  // Calls the export once.  False, without calling it, when there is no
  // memory to keep the bytes of an in-place argument as they were.
  bool Run();

  // The result; a string result stays the call's, freed when it ends.
  const Result& result() const { return result_; }

  // String argument i as the export left it, and whether the export
  // changed any of its bytes.
  BSTR String(size_t i) const { return strings_[i]; }
  bool Changed(size_t i) const { return changed_[i]; }

 private:
  const ExportInfo& export_;
  Slots slots_;
  Result result_;
  std::array<BSTR, kMaxArgs> strings_{};
  std::array<bool, kMaxArgs> changed_{};
};

}  // namespace twinekit::call
