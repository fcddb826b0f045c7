// Exports of the hexadecimal and checksum functions.
#include "encodings/encodings.h"
#include "frame/bytes.h"

using namespace twinekit;

extern "C" {

BSTR TK_CALL cToHexa(BSTR* Txt) { return encodings::BytesToHex(ReadByRef(Txt)); }

BSTR TK_CALL cFromHexa(BSTR* Txt) { return encodings::HexToBytes(ReadByRef(Txt)); }

BSTR TK_CALL cLrc(BSTR* Txt) { return encodings::LongitudinalCheck(ReadByRef(Txt)); }

TK_INTEGER TK_CALL cH2I(BSTR Txt) { return encodings::HexToInteger(ReadByValue(Txt)); }

TK_LONG TK_CALL cH2L(BSTR Txt) { return encodings::HexToLong(ReadByValue(Txt)); }

}  // extern "C"
