// Exports of the name capitalisation family.
#include "frame/bytes.h"
#include "names/proper_name.h"

using namespace twinekit;

extern "C" {

BSTR TK_CALL cProperName(BSTR* Txt) { return names::ProperName(ReadByRef(Txt)); }

BSTR TK_CALL cProperName2(BSTR* Txt, BSTR Exceptions, TK_INTEGER_ARG Options) {
  return names::ProperName2(ReadByRef(Txt), ReadByValue(Exceptions), ReadInteger(Options));
}

}  // extern "C"
