// Calls an export of the native library as a Basic host does: the
// arguments made from values (temporary BSTRs, the String variables that
// hold them, Variants with UTF-16 strings), the export called through its
// own prototype, and the arguments and result read back afterwards.
#pragma once

#include <array>
#include <memory>
#include <span>
#include <string>

#include "case_line.h"
#include "exports/export_table.h"
#include "frame/platform.h"
#include "host_variant.h"
#include "values.h"

namespace tkhost {

// What came back, by result kind.
struct Returned {
  BSTR string = nullptr;
  int64_t number = 0;
  VARIANT variant{};
};

// The bytes of a BSTR by its byte count; empty for a null BSTR.
std::string BytesOf(BSTR s);

// One call's arguments as the host holds them, freed on destruction.
class HostCall {
 public:
  static constexpr size_t kMaxArgs = 4;

  HostCall(const twinekit::ExportInfo& e, std::span<const Value> values);
  ~HostCall();
  HostCall(const HostCall&) = delete;
  HostCall& operator=(const HostCall&) = delete;

  // Calls the export; the caller owns a string result.
  Returned Invoke();

  // The bytes of argument i now (a string argument's BSTR).
  std::string Bytes(size_t i) const { return BytesOf(strings_[i]); }
  // The problem with the arguments after the call, as the host finds them:
  // a replaced variable, a changed read-only argument or Variant, an
  // in-place argument of another length.  Empty when none.
  std::string CheckArguments() const;
  // True when r is one of the host's own BSTRs or variables.
  bool IsHostMemory(const void* r) const;

 private:
  const twinekit::ExportInfo& export_;
  std::array<BSTR, kMaxArgs> strings_{};    // the temporaries
  std::array<BSTR, kMaxArgs> variables_{};  // the String variables holding them
  std::array<std::string, kMaxArgs> before_;
  std::array<std::unique_ptr<HostVariant>, kMaxArgs> variants_;
  std::array<int32_t, kMaxArgs> numbers_{};
};

// Runs a case line: makes its arguments, calls the export and reads back
// what the host would find.  A watch, when given, sees the moments right
// before and after the export's own call (a test fixes the clock or makes
// an allocation fail there).
struct CallWatch {
  virtual ~CallWatch() = default;
  virtual void Before() {}
  virtual void After() {}
};
tkcases::Outcome RunCase(const tkcases::Case& c, CallWatch* watch = nullptr);

}  // namespace tkhost
