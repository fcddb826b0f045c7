// Exports of the pattern matching family.
#include "frame/bytes.h"
#include "patterns/ext_match.h"
#include "patterns/plain_match.h"

using namespace twinekit;

extern "C" {

TK_LONG TK_CALL cPatternMatch(BSTR Txt, BSTR Pattern) {
  return patterns::PlainMatch(ReadByValue(Txt), ReadByValue(Pattern)) ? -1 : 0;
}

TK_LONG TK_CALL cPatternExtMatch(BSTR Txt, BSTR Pattern) {
  return patterns::PatternExtMatch(ReadByValue(Txt), ReadByValue(Pattern));
}

}  // extern "C"
