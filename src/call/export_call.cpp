#include "call/export_call.h"

#include <cstring>

#include "frame/bstr_layout.h"
#include "frame/platform.h"

namespace twinekit::call {
namespace {

bool SameBytes(BSTR a, BSTR b) {
  const UINT n = SysStringByteLen(a);
  return n == SysStringByteLen(b) && (n == 0 || std::memcmp(a, b, n) == 0);
}

}  // namespace

ExportCall::~ExportCall() {
  for (size_t i = 0; i < kMaxArgs; ++i) {
    if (!lent_[i] && strings_[i] != nullptr) SysFreeString(strings_[i]);
  }
  if (result_.string != nullptr) SysFreeString(result_.string);
}

void ExportCall::TakeString(size_t i, BSTR bytes) {
  if (!lent_[i]) SysFreeString(strings_[i]);
  strings_[i] = bytes;
  lent_[i] = false;
}

bool ExportCall::LendString(size_t i, const char* bytes, size_t n) {
  constexpr size_t kFrame = kBstrPrefix + kBstrTerminator;
  if (used_ + kFrame > kRoom || n > kRoom - used_ - kFrame) {
    BSTR copy = SysAllocStringByteLen(bytes, static_cast<UINT>(n));
    if (copy == nullptr) return false;
    TakeString(i, copy);
    return true;
  }
  BSTR laid = LayBstr(room_ + used_, bytes, static_cast<uint32_t>(n));
  used_ += (n + kFrame + 7) & ~size_t{7};
  TakeString(i, nullptr);
  strings_[i] = laid;
  lent_[i] = true;
  return true;
}

bool ExportCall::Run() {
  // The bytes of each in-place argument as they came, to tell afterwards
  // whether the export changed any.
  std::array<BSTR, kMaxArgs> before{};
  bool kept = true;
  for (size_t i = 0; i < export_.args.size(); ++i) {
    if (!watched_ || export_.args[i] != 'W' || strings_[i] == nullptr) continue;
    before[i] = SysAllocStringByteLen(reinterpret_cast<const char*>(strings_[i]),
                                      SysStringByteLen(strings_[i]));
    kept = kept && before[i] != nullptr;
  }
  if (kept) {
    for (size_t i = 0; i < export_.args.size(); ++i) {
      slots_.variables[i] = &strings_[i];
      slots_.strings[i] = strings_[i];
    }
    CallerOf(export_)(slots_, result_);
    for (size_t i = 0; i < export_.args.size(); ++i) {
      changed_[i] = before[i] != nullptr && !SameBytes(before[i], strings_[i]);
    }
  }
  if (watched_) {
    for (BSTR s : before) SysFreeString(s);
  }
  return kept;
}

}  // namespace twinekit::call
