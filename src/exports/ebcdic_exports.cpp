// Exports of the EBCDIC conversions: both rewrite the caller's string in
// place and keep its length.
#include "encodings/encodings.h"
#include "frame/bytes.h"

using namespace twinekit;

extern "C" {

TK_INTEGER TK_CALL cCnvASCIItoEBCDIC(BSTR* Txt) {
  return AsBasicBool(
      encodings::TranslateInPlace(ReadByRefForWriting(Txt), encodings::kAsciiToEbcdic));
}

TK_INTEGER TK_CALL cCnvEBCDICtoASCII(BSTR* Txt) {
  return AsBasicBool(
      encodings::TranslateInPlace(ReadByRefForWriting(Txt), encodings::kEbcdicToAscii));
}

}  // extern "C"
