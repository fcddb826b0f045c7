// Exports of the pattern matching family.
#include "frame/bytes.h"
#include "patterns/match.h"

using namespace twinekit;

extern "C" {

TK_LONG TK_CALL cPatternMatch(BSTR Txt, BSTR Pattern) {
  return AsBasicBool(patterns::PlainMatch(ReadByValue(Txt), ReadByValue(Pattern)));
}

TK_LONG TK_CALL cPatternExtMatch(BSTR Txt, BSTR Pattern) {
  return patterns::PatternExtMatch(ReadByValue(Txt), ReadByValue(Pattern));
}

}  // extern "C"
