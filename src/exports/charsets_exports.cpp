// Exports of the character sets family.
#include "charsets/charsets.h"
#include "frame/bytes.h"

using namespace twinekit;

extern "C" {

TK_INTEGER TK_CALL cChangeChars(BSTR* Txt, BSTR* OldChars, BSTR* NewChars) {
  return AsBasicBool(charsets::ChangeChars(ReadByRefForWriting(Txt), ReadByRef(OldChars),
                                           ReadByRef(NewChars)));
}

TK_INTEGER TK_CALL cChangeCharsUntil(BSTR* Txt, BSTR* OldChars, BSTR* NewChars, BSTR* Stop) {
  return AsBasicBool(charsets::ChangeCharsUntil(ReadByRefForWriting(Txt), ReadByRef(OldChars),
                                                ReadByRef(NewChars), ReadByRef(Stop)));
}

TK_INTEGER TK_CALL cCheckChars(BSTR* Txt, BSTR* Chars) {
  return AsBasicBool(charsets::CheckChars(ReadByRef(Txt), ReadByRef(Chars)));
}

BSTR TK_CALL cFilterChars(BSTR* Txt, BSTR* Chars) {
  return charsets::FilterChars(ReadByRef(Txt), ReadByRef(Chars));
}

BSTR TK_CALL cFilterNotChars(BSTR* Txt, BSTR* Chars) {
  return charsets::FilterNotChars(ReadByRef(Txt), ReadByRef(Chars));
}

BSTR TK_CALL cFilterFirstChars(BSTR* Txt, BSTR* Prefix) {
  return charsets::FilterFirstChars(ReadByRef(Txt), ReadByRef(Prefix));
}

BSTR TK_CALL cFilterBlocks(BSTR* Txt, BSTR* Delimiters) {
  return charsets::FilterBlocks(ReadByRef(Txt), ReadByRef(Delimiters));
}

BSTR TK_CALL cInsertByMask(BSTR* Mask, BSTR* MaskChar, BSTR* Txt) {
  return charsets::InsertByMask(ReadByRef(Mask), ReadByRef(MaskChar), ReadByRef(Txt));
}

BSTR TK_CALL cInsertBlocks(BSTR* Txt, BSTR* Blocks) {
  return charsets::InsertBlocks(ReadByRef(Txt), ReadByRef(Blocks),
                                charsets::kDefaultBlockSeparator);
}

BSTR TK_CALL cInsertBlocksBy(BSTR* Txt, BSTR* Blocks, BSTR* Sep) {
  return charsets::InsertBlocks(ReadByRef(Txt), ReadByRef(Blocks),
                                FirstByteOr(ReadByRef(Sep), charsets::kDefaultBlockSeparator));
}

BSTR TK_CALL cMixChars(BSTR* Txt) { return charsets::MixChars(ReadByRef(Txt)); }

}  // extern "C"
