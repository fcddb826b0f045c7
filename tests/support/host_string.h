// A caller's string variable for tests that call exports directly, and the
// taking of a string result.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "frame/platform.h"

namespace tksupport {

// A caller's string variable, freed when the test is done with it; a
// default one holds a null BSTR.
class HostString {
 public:
  HostString() = default;
  explicit HostString(std::string_view bytes) : s_(Make(bytes)) {}
  ~HostString() { SysFreeString(s_); }
  HostString(const HostString&) = delete;
  HostString& operator=(const HostString&) = delete;
  BSTR* ref() { return &s_; }
  BSTR value() const { return s_; }
  std::string bytes() const {
    if (s_ == nullptr) return {};
    return std::string(reinterpret_cast<const char*>(s_), SysStringByteLen(s_));
  }

 private:
  static BSTR Make(std::string_view bytes) {
    return SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size()));
  }
  BSTR s_ = nullptr;
};

// The bytes of a string result, which must not be null; the result is freed.
inline std::string Take(BSTR result) {
  EXPECT_NE(result, nullptr);
  std::string bytes(reinterpret_cast<const char*>(result), SysStringByteLen(result));
  SysFreeString(result);
  return bytes;
}

}  // namespace tksupport
