// Exports of the positions and blocks family.
#include "frame/bytes.h"
#include "positions/ends.h"

using namespace twinekit;

extern "C" {

BSTR TK_CALL cOneCharFromLeft(BSTR* Txt, TK_LONG Position) {
  return positions::OneCharFromLeft(ReadByRef(Txt), Position);
}

BSTR TK_CALL cOneCharFromRight(BSTR* Txt, TK_LONG Position) {
  return positions::OneCharFromRight(ReadByRef(Txt), Position);
}

BSTR TK_CALL cBlockCharFromLeft(BSTR* Txt, TK_LONG Count) {
  return positions::DropFromRight(ReadByRef(Txt), Count);
}

BSTR TK_CALL cBlockCharFromRight(BSTR* Txt, TK_LONG Count) {
  return positions::DropFromLeft(ReadByRef(Txt), Count);
}

BSTR TK_CALL cScrollL(BSTR* Txt) { return positions::RotateLeft(ReadByRef(Txt)); }

BSTR TK_CALL cScrollR(BSTR* Txt) { return positions::RotateRight(ReadByRef(Txt)); }

BSTR TK_CALL cReverse(BSTR* Txt) { return positions::Reverse(ReadByRef(Txt)); }

BSTR TK_CALL cGetBlock(BSTR* Txt, TK_LONG BlockNumber, TK_LONG BlockSize) {
  return positions::GetBlock(ReadByRef(Txt), BlockNumber, BlockSize);
}

}  // extern "C"
