// Exports of the digit string functions.
#include "encodings/encodings.h"
#include "frame/bytes.h"

using namespace twinekit;

extern "C" {

TK_INTEGER TK_CALL cCheckNumericity(BSTR* Txt) {
  return AsBasicBool(encodings::AllDigits(ReadByRef(Txt)));
}

TK_INTEGER TK_CALL cAddDigit(BSTR* Txt) { return encodings::DigitSum(ReadByRef(Txt)); }

TK_INTEGER TK_CALL cNumDigit(BSTR* Txt) { return encodings::CheckDigit(ReadByRef(Txt)); }

BSTR TK_CALL cCplDigit(BSTR* Txt) { return encodings::NinesComplement(ReadByRef(Txt)); }

BSTR TK_CALL cCplAlpha(BSTR* Txt) { return encodings::ByteComplement(ReadByRef(Txt)); }

}  // extern "C"
