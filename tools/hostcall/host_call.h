// Calls an export as a Basic host does, the one place that does: the
// arguments built of each kind the way the host holds them, the call made
// one of two ways, and one check after every call of what the host would
// suffer from.
//
// The arguments: a string is a temporary BSTR with guard bytes after its
// terminator (by reference, the address of the String variable holding
// it; by value, the BSTR itself), a Long a 32-bit number, an Integer a
// slot whose upper 16 bits hold garbage (on 64-bit, the upper 32 bits of
// every number's slot too), a Variant a real VARIANT whose String is
// UTF-16.
//
// The two calls: natively, the export's own prototype in twinekit.h
// (typed_call.cpp, linked with the library); on Windows, the exported
// address called with the host's slots, through a thunk that checks the
// 32-bit stdcall convention (slot_call_x86.cpp, slot_call_x64.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#ifdef _WIN32
#include <windows.h>
#include <oleauto.h>
#else
#include "frame/platform.h"
#endif

#include "case_line.h"
#include "exports/export_table.h"
#include "host_variant.h"
#include "values.h"

namespace tkhost {

// The kinds of the export table's letters.
enum class ArgKind { kString, kStringInPlace, kStringByValue, kLong, kInteger, kVariant };
enum class ResultKind { kString, kInteger, kLong, kVariant, kNone };
ArgKind ArgKindOf(char letter);
ResultKind ResultKindOf(char letter);

// The bytes of a BSTR by its byte count; empty for a null BSTR.
std::string BytesOf(BSTR s);

// What the host leaves in the parts of a number's slot that the argument
// does not fill.  Each case with an Integer argument runs with both
// patterns, so that reading the upper bits shows whichever sign it gives.
inline constexpr uint64_t kSlotGarbage[] = {0x5A5A5A5AA5C30000u, 0xC3A5C3A55A3C0000u};

// A temporary BSTR holding an argument's bytes, or a null BSTR.  It is made
// with room for guard bytes and its byte count then set to the argument's
// length: the export sees an ordinary BSTR of that length, terminator
// included, and the guard bytes after the terminator are ours to check
// (under AddressSanitizer, poisoned, so that any access to them is caught
// where it happens).  The count is put back before freeing.
class HostBstr {
 public:
  explicit HostBstr(const Value& arg);
  ~HostBstr();
  HostBstr(const HostBstr&) = delete;
  HostBstr& operator=(const HostBstr&) = delete;

  BSTR get() const { return bstr_; }
  const std::string& original() const { return original_; }
  // Empty when the byte count, the terminator and the guard bytes are as
  // made; otherwise what changed.
  std::string CheckBounds() const;
  // True when p points into this BSTR's allocation (count, payload, guard).
  bool Contains(const void* p) const;

 private:
  static constexpr uint32_t kGuard = 16;
  BSTR bstr_ = nullptr;
  std::string original_;
};

// What came back from a call.
struct Returned {
  BSTR string = nullptr;     // a string result, the caller's to free
  int64_t number = 0;        // an Integer or Long result, sign-extended
  VARIANT variant{};         // a Variant result
  std::string problem;       // a breach of the calling convention, or empty
};

// One call's arguments as the host holds them, freed on destruction.
class HostArgs {
 public:
  static constexpr size_t kMaxArgs = 4;

  HostArgs(const twinekit::ExportInfo& e, std::span<const Value> values,
           uint64_t garbage = kSlotGarbage[0]);
  ~HostArgs();
  HostArgs(const HostArgs&) = delete;
  HostArgs& operator=(const HostArgs&) = delete;

  const twinekit::ExportInfo& info() const { return export_; }
  ArgKind kind(size_t i) const { return ArgKindOf(export_.args[i]); }
  size_t count() const { return export_.args.size(); }

  // What the call passes for argument i, by its kind.
  BSTR* variable(size_t i) { return &variables_[i]; }
  BSTR string(size_t i) const { return strings_[i] ? strings_[i]->get() : nullptr; }
  uint64_t number_slot(size_t i) const { return numbers_[i]; }
  VARIANT* variant(size_t i) { return variants_[i] ? variants_[i]->get() : nullptr; }

  // The bytes of string argument i now.
  std::string Bytes(size_t i) const { return BytesOf(string(i)); }

  // The arguments after the call, as the host finds them: a replaced
  // variable, a changed byte count, a write past it, a changed read-only
  // argument or Variant.  Empty when none.
  std::string Check();
  // The problem with a string result, before it is freed: null is none
  // here (the caller decides), one of the host's own, no terminator right
  // after its byte count.
  std::string CheckResult(BSTR r) const;
  // True when p is, or points into, something of the host's.
  bool IsHostMemory(const void* p) const;

 private:
  const twinekit::ExportInfo& export_;
  std::array<std::unique_ptr<HostBstr>, kMaxArgs> strings_;
  std::array<BSTR, kMaxArgs> variables_{};  // the host's String variables
  std::array<uint64_t, kMaxArgs> numbers_{};
  std::array<std::unique_ptr<HostVariant>, kMaxArgs> variants_;
};

// Makes the call on the host's arguments.
using Caller = std::function<Returned(HostArgs&)>;

// The export's own prototype, natively (typed_call.cpp).
Returned CallTyped(HostArgs& args);

// The same call for one export, looked up once: what a host that resolves
// a declaration once and then calls through it does (the benchmarks).
using TypedCall = Returned (*)(HostArgs&);
TypedCall TypedCallOf(const twinekit::ExportInfo& e);

// Sees the moments right before and after the export's own call (a test
// fixes the clock or makes an allocation fail there; the Windows harness
// watches the task allocator).  After returns a problem of the call, or
// empty; string_result is the result, still alive.
struct CallWatch {
  virtual ~CallWatch() = default;
  virtual void Before() {}
  virtual std::string After(const void* /*string_result*/) { return {}; }
};

// Runs a case line once: makes its arguments, calls the export, checks and
// reads back what the host would find, frees what the host frees.
tkcases::Outcome RunCase(const tkcases::Case& c, const Caller& call,
                         uint64_t garbage = kSlotGarbage[0], CallWatch* watch = nullptr);

// Runs a case line with each slot garbage pattern it needs; the first
// difference from what the case wants, or empty.
std::string CheckCase(const tkcases::Case& c, const Caller& call, CallWatch* watch = nullptr);

}  // namespace tkhost
