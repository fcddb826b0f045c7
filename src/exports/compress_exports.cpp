// Exports of the compression and tabs family.
#include "compress/compress.h"
#include "frame/bytes.h"

using namespace twinekit;

extern "C" {

BSTR TK_CALL cCompress(BSTR* Txt) { return compress::RemoveBlanks(ReadByRef(Txt)); }

BSTR TK_CALL cExpandTab(BSTR* Txt, TK_LONG Width) {
  return compress::ExpandTabs(ReadByRef(Txt), Width);
}

BSTR TK_CALL cCompressTab(BSTR* Txt, TK_LONG Width) {
  return compress::CompressBlanksToTabs(ReadByRef(Txt), Width);
}

BSTR TK_CALL cCompact(BSTR* Txt) { return compress::PackDigits(ReadByRef(Txt)); }

BSTR TK_CALL cUncompact(BSTR* Txt) { return compress::UnpackDigits(ReadByRef(Txt)); }

}  // extern "C"
