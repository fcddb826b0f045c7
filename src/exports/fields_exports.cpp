// Exports of the fields, tokens and search family.
#include "fields/fields.h"
#include "frame/bytes.h"

using namespace twinekit;
using fields::TokenRule;

extern "C" {

void TK_CALL cSetDefaultSeparator(BSTR* Sep) { fields::SetDefaultSeparatorFrom(ReadByRef(Sep)); }

BSTR TK_CALL cGet(BSTR* Txt, TK_LONG Index) {
  return fields::GetFieldAtDefault(ReadByRef(Txt), Index);
}

BSTR TK_CALL cGetIn(BSTR* Txt, BSTR* Sep, TK_LONG Index) {
  return fields::GetField(ReadByRef(Txt), ReadByRef(Sep), Index);
}

BSTR TK_CALL cGetInR(BSTR* Txt, BSTR* Sep, TK_LONG Index) {
  return fields::GetFieldFromRight(ReadByRef(Txt), ReadByRef(Sep), Index);
}

BSTR TK_CALL cGetInPart(BSTR* Txt, BSTR* Sep, TK_LONG FirstPart) {
  return fields::GetPart(ReadByRef(Txt), ReadByRef(Sep), FirstPart);
}

BSTR TK_CALL cGetInPartR(BSTR* Txt, BSTR* Sep, TK_LONG FirstPart) {
  return fields::GetPartFromRight(ReadByRef(Txt), ReadByRef(Sep), FirstPart);
}

TK_INTEGER TK_CALL cCount(BSTR* Txt, BSTR* Sep) {
  return fields::CountSeparators(ReadByRef(Txt), ReadByRef(Sep));
}

TK_INTEGER TK_CALL cOrToken(BSTR Txt, BSTR Tokens) {
  return AsBasicBool(fields::TokensOccur(ReadByValue(Txt), ReadByValue(Tokens),
                                         fields::kListSeparator, TokenRule::kAny));
}

TK_INTEGER TK_CALL cAndToken(BSTR Txt, BSTR Tokens) {
  return AsBasicBool(fields::TokensOccur(ReadByValue(Txt), ReadByValue(Tokens),
                                         fields::kListSeparator, TokenRule::kAll));
}

TK_INTEGER TK_CALL cOrTokenIn(BSTR Txt, BSTR Tokens, BSTR Sep) {
  return AsBasicBool(fields::TokensOccur(ReadByValue(Txt), ReadByValue(Tokens),
                                         fields::ListSeparatorFrom(ReadByValue(Sep)),
                                         TokenRule::kAny));
}

TK_INTEGER TK_CALL cAndTokenIn(BSTR Txt, BSTR Tokens, BSTR Sep) {
  return AsBasicBool(fields::TokensOccur(ReadByValue(Txt), ReadByValue(Tokens),
                                         fields::ListSeparatorFrom(ReadByValue(Sep)),
                                         TokenRule::kAll));
}

BSTR TK_CALL cTokenIn(BSTR* Txt, BSTR* Seps, TK_LONG Index) {
  return fields::GetFieldBySet(ReadByRef(Txt), ReadByRef(Seps), Index);
}

// MatchCase 0 asks for a search blind to the case of A-Z.
BSTR TK_CALL cStringSAR(BSTR Txt, BSTR Find, BSTR Replace, TK_INTEGER_ARG MatchCase) {
  return fields::SearchAndReplace(ReadByValue(Txt), ReadByValue(Find), ReadByValue(Replace),
                                  ReadInteger(MatchCase) != 0);
}

}  // extern "C"
