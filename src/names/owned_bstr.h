// A BSTR that the library makes for its own use and frees when it goes out
// of scope: a working area, never a result.
#pragma once

#include <cstdint>

#include "frame/platform.h"

namespace twinekit::names {

class OwnedBstr {
 public:
  // A BSTR of `size` bytes with no source; null when it cannot be had.
  explicit OwnedBstr(UINT size) : s_(SysAllocStringByteLen(nullptr, size)) {}
  ~OwnedBstr() { SysFreeString(s_); }
  OwnedBstr(const OwnedBstr&) = delete;
  OwnedBstr& operator=(const OwnedBstr&) = delete;

  bool ok() const { return s_ != nullptr; }
  uint8_t* data() { return reinterpret_cast<uint8_t*>(s_); }

 private:
  BSTR s_;
};

}  // namespace twinekit::names
