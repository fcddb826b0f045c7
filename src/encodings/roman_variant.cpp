#include "encodings/encodings.h"

#include <cstring>

namespace twinekit::encodings {
namespace {

bool Succeeded(HRESULT status) { return status >= 0; }

}  // namespace

std::optional<int32_t> ReadLongVariant(VARIANT* number) {
  if (number == nullptr) return std::nullopt;
  VARIANT local;
  VariantInit(&local);
  std::optional<int32_t> value;
  if (Succeeded(VariantCopy(&local, number)) &&
      Succeeded(VariantChangeType(&local, &local, 0, VT_I4)) && local.vt == VT_I4) {
    value = local.lVal;
  }
  // Frees the copy of a string when the conversion failed.
  VariantClear(&local);
  return value;
}

VARIANT LongVariant(int32_t value) {
  // Every byte of it set: the reserved words and the padding zero.
  VARIANT result;
  std::memset(&result, 0, sizeof result);
  result.vt = VT_I4;
  result.lVal = value;
  return result;
}

}  // namespace twinekit::encodings
