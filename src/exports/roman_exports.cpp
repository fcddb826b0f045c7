// Exports of the Roman numerals.  cArabicToRoman reads its number through
// the platform's Variant conversion; cRomanToArabic gives a Long Variant
// back, on Windows through the result address that the caller passes first.
#include "encodings/encodings.h"
#include "frame/bytes.h"
#include "frame/result.h"

using namespace twinekit;

extern "C" {

// A Variant that cannot be converted to a Long gives the empty result, as
// the value 0 does.
BSTR TK_CALL cArabicToRoman(VARIANT* Number) {
  const std::optional<int32_t> value = encodings::ReadLongVariant(Number);
  if (!value) return EmptyResult();
  return encodings::ArabicToRoman(*value);
}

#ifdef _WIN32
VARIANT* TK_CALL cRomanToArabic(VARIANT* Result, BSTR* Txt) {
  if (Result == nullptr) return nullptr;
  *Result = encodings::LongVariant(encodings::RomanToArabic(ReadByRef(Txt)));
  return Result;
}
#else
VARIANT TK_CALL cRomanToArabic(BSTR* Txt) {
  return encodings::LongVariant(encodings::RomanToArabic(ReadByRef(Txt)));
}
#endif

}  // extern "C"
