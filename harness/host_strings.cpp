#include "host_strings.h"

#include <cstring>
#include <vector>

namespace tkharness {
namespace {

// The guard pattern: not zero, so an export that ran past the terminator
// and rewrote it with zeros is seen too.
uint8_t GuardByte(uint32_t i) { return static_cast<uint8_t>(0xA0 + i); }

uint32_t& CountOf(BSTR s) { return reinterpret_cast<uint32_t*>(s)[-1]; }

}  // namespace

std::string BytesOf(BSTR s) {
  if (s == nullptr) return {};
  return std::string(reinterpret_cast<const char*>(s), SysStringByteLen(s));
}

HostBstr::HostBstr(const tkhost::Value& arg) {
  if (arg.tag != tkhost::Value::kBytes) return;
  original_.assign(arg.bytes);
  const auto n = static_cast<uint32_t>(original_.size());
  std::vector<char> made(n + kGuard);
  std::memcpy(made.data(), original_.data(), n);
  made[n] = made[n + 1] = 0;  // the terminator of an n-byte BSTR
  for (uint32_t i = 2; i < kGuard; ++i) made[n + i] = static_cast<char>(GuardByte(i));
  bstr_ = SysAllocStringByteLen(made.data(), n + kGuard);
  if (bstr_ != nullptr) CountOf(bstr_) = n;
}

HostBstr::~HostBstr() {
  if (bstr_ == nullptr) return;
  CountOf(bstr_) = static_cast<uint32_t>(original_.size()) + kGuard;
  SysFreeString(bstr_);
}

std::string HostBstr::CheckBounds() const {
  if (bstr_ == nullptr) return {};
  const auto n = static_cast<uint32_t>(original_.size());
  if (CountOf(bstr_) != n) {
    return "changed the byte count of its argument from " + std::to_string(n) + " to " +
           std::to_string(CountOf(bstr_));
  }
  const auto* bytes = reinterpret_cast<const uint8_t*>(bstr_);
  bool intact = bytes[n] == 0 && bytes[n + 1] == 0;
  for (uint32_t i = 2; i < kGuard; ++i) intact = intact && bytes[n + i] == GuardByte(i);
  if (!intact) return "wrote past the byte count of its argument";
  return {};
}

bool HostBstr::Contains(const void* p) const {
  if (bstr_ == nullptr) return false;
  const auto* start = reinterpret_cast<const char*>(bstr_) - sizeof(uint32_t);
  const auto* end = reinterpret_cast<const char*>(bstr_) + original_.size() + kGuard;
  const auto* q = static_cast<const char*>(p);
  return q >= start && q < end;
}

}  // namespace tkharness
