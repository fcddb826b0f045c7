// The host's side of string arguments: BSTRs made the way a Basic host
// makes its temporaries, with guard bytes after the terminator so that a
// write past the byte count shows.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "values.h"

namespace tkharness {

// The bytes of a BSTR, by its byte count; empty for a null BSTR.
std::string BytesOf(BSTR s);

// A temporary BSTR holding the argument's bytes, or a null BSTR.  It is
// made by SysAllocStringByteLen with room for guard bytes, and its byte
// count is then set to the argument's length: the export sees an ordinary
// BSTR of that length, zero terminator included, and the guard bytes after
// the terminator are ours to check.  The count is put back before freeing.
class HostBstr {
 public:
  explicit HostBstr(const tkhost::Value& arg);
  ~HostBstr();
  HostBstr(const HostBstr&) = delete;
  HostBstr& operator=(const HostBstr&) = delete;

  BSTR get() const { return bstr_; }
  const std::string& original() const { return original_; }

  // Empty when the byte count, the terminator and the guard bytes are as
  // they were made; otherwise what changed.
  std::string CheckBounds() const;

  // True when p points into this BSTR's allocation (count, payload, guard).
  bool Contains(const void* p) const;

 private:
  static constexpr uint32_t kGuard = 16;
  BSTR bstr_ = nullptr;
  std::string original_;
};

}  // namespace tkharness
