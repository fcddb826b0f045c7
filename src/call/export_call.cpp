#include "call/export_call.h"

#include <cstring>

#include "frame/platform.h"

namespace twinekit::call {
namespace {

bool SameBytes(BSTR a, BSTR b) {
  const UINT n = SysStringByteLen(a);
  return n == SysStringByteLen(b) && (n == 0 || std::memcmp(a, b, n) == 0);
}

}  // namespace

ExportCall::~ExportCall() {
  for (BSTR s : strings_) SysFreeString(s);
  SysFreeString(result_.string);
}

void ExportCall::TakeString(size_t i, BSTR bytes) {
  SysFreeString(strings_[i]);
  strings_[i] = bytes;
}

bool ExportCall::Run() {
  // The bytes of each in-place argument as they came, to tell afterwards
  // whether the export changed any.
  std::array<BSTR, kMaxArgs> before{};
  bool kept = true;
  for (size_t i = 0; i < export_.args.size(); ++i) {
    if (export_.args[i] != 'W' || strings_[i] == nullptr) continue;
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
  for (BSTR s : before) SysFreeString(s);
  return kept;
}

}  // namespace twinekit::call
