// One call of an export from plain values, for a face that holds its own
// kind of values (a COM Variant, a JavaScript value, a SQL value) and
// translates them: strings as bytes in BSTRs that the call owns, numbers
// as whole numbers, a Variant as the caller's own.  After the call it holds
// the result and what each in-place argument became, and whether any byte
// of it changed, when the face asks, so that it writes back only what the
// export changed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "call/typed_call.h"

namespace twinekit::call {

class ExportCall {
 public:
  // Whether Changed tells if an in-place argument changed: watching keeps
  // a copy of each one's bytes as they came, which a face that writes back
  // whatever the export left (SQL) does without.
  enum class Changes : bool { kIgnored, kWatched };

  ExportCall(const ExportInfo& e, Changes changes) : export_(e), watched_(changes == Changes::kWatched) {}
  ~ExportCall();
  ExportCall(const ExportCall&) = delete;
  ExportCall& operator=(const ExportCall&) = delete;

  const ExportInfo& info() const { return export_; }

  // String argument i: the call takes the BSTR of bytes (null reads as
  // empty) and frees it when it ends.
  void TakeString(size_t i, BSTR bytes);
  // A read-only string argument (R or V, which no export frees or
  // reallocates) of n bytes, at most INT32_MAX, copied: into the call's
  // own room, laid out as a BSTR, when it fits, else into a new BSTR.
  // False for want of memory.
  bool LendString(size_t i, const char* bytes, size_t n);
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
  // Changed is false for every argument unless changes are watched.
  bool Changed(size_t i) const { return changed_[i]; }

 private:
  const ExportInfo& export_;
  Slots slots_;
  Result result_;
  std::array<BSTR, kMaxArgs> strings_{};
  std::array<bool, kMaxArgs> changed_{};
  std::array<bool, kMaxArgs> lent_{};  // strings_[i] lies in room_
  bool watched_;
  // Short read-only arguments as BSTRs: a 32-bit count, the bytes, two
  // zero bytes, each at a multiple of 8.  Written before it is read, so
  // not cleared.
  static constexpr size_t kRoom = 512;
  size_t used_ = 0;
  alignas(8) unsigned char room_[kRoom];
};

}  // namespace twinekit::call
