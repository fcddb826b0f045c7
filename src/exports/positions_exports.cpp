// Exports of the positions and blocks family.
#include "frame/bytes.h"
#include "positions/positions.h"

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

BSTR TK_CALL cRemoveOneChar(BSTR* Txt, TK_LONG Position) {
  return positions::RemoveOneChar(ReadByRef(Txt), Position);
}

BSTR TK_CALL cRemoveBlockChar(BSTR* Txt, TK_LONG Position, TK_LONG Count) {
  return positions::RemoveBlock(ReadByRef(Txt), Position, Count);
}

BSTR TK_CALL cInsertChars(BSTR* Txt, TK_LONG Position, BSTR* Insertion) {
  return positions::InsertAt(ReadByRef(Txt), Position, ReadByRef(Insertion));
}

BSTR TK_CALL cResizeString(BSTR* Txt, TK_LONG NewLength) {
  return positions::Truncate(ReadByRef(Txt), NewLength);
}

BSTR TK_CALL cResizeStringAndFill(BSTR* Txt, TK_LONG NewLength, BSTR* Filler) {
  return positions::TruncateOrPad(ReadByRef(Txt), NewLength, ReadByRef(Filler));
}

BSTR TK_CALL cCreateAndFill(TK_LONG Length, BSTR* Filler) {
  return positions::CreateFilled(Length, ReadByRef(Filler));
}

TK_INTEGER TK_CALL cFill(BSTR* Txt, BSTR* Filler) {
  return AsBasicBool(positions::FillInPlace(ReadByRefForWriting(Txt), ReadByRef(Filler)));
}

BSTR TK_CALL cAlign(BSTR* Txt, TK_INTEGER_ARG Mode, TK_LONG Width) {
  return positions::Align(ReadByRef(Txt), ReadInteger(Mode), Width);
}

}  // extern "C"
