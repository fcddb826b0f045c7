#include "frame/result.h"

namespace twinekit {

BSTR EmptyResult() { return SysAllocStringByteLen(nullptr, 0); }

BSTR ResultFromBytes(const uint8_t* start, int64_t length) {
  if (length <= 0) return EmptyResult();
  if (static_cast<uint64_t>(length) > UINT32_MAX) return nullptr;
  return SysAllocStringByteLen(reinterpret_cast<const char*>(start),
                               static_cast<UINT>(length));
}

BSTR ResultFromRun(Bytes run) {
  return ResultFromBytes(run.data(), static_cast<int64_t>(run.size()));
}

}  // namespace twinekit
