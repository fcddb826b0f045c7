#include "encodings/encodings.h"

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
  VARIANT result;
  VariantInit(&result);
  // An empty Variant converts to the Long 0, which then takes the value.
  VariantChangeType(&result, &result, 0, VT_I4);
  result.vt = VT_I4;
  result.lVal = value;
  return result;
}

}  // namespace twinekit::encodings
