// Fields, tokens and search: separator-delimited fields, token-list
// membership, search and replace.
#pragma once

#include <cstdint>

#include "frame/bytes.h"

namespace twinekit::fields {

// Fields of a text divided by a one-byte separator: one field counted from
// the left or the right, the parts around the first or last separator, the
// number of separators, and the library-wide default separator.
//
// A separator argument contributes only its first byte; an empty one gives
// the empty answer.  Every byte value can be a separator, the zero byte
// included.

// The default separator becomes the first byte of sep; an empty sep
// leaves it as it is.
void SetDefaultSeparatorFrom(Bytes sep);

// Field `index` counted from the left, divided at the default separator.
BSTR GetFieldAtDefault(Bytes txt, int32_t index);

// Field `index` counted from the left or from the right.
BSTR GetField(Bytes txt, Bytes sep, int32_t index);
BSTR GetFieldFromRight(Bytes txt, Bytes sep, int32_t index);

// With first_part -1: the part before the first separator (GetPart) or
// after the last one (GetPartFromRight).  With any other value: the rest
// of the text beyond that separator.
BSTR GetPart(Bytes txt, Bytes sep, int32_t first_part);
BSTR GetPartFromRight(Bytes txt, Bytes sep, int32_t first_part);

// The number of separator bytes in txt, as a 16-bit Integer (it wraps).
int16_t CountSeparators(Bytes txt, Bytes sep);

// Token lists tested against a text: does any token, or every token, occur
// in it as a substring?  And one field of a text in which any byte of a set
// separates fields.

// The fixed list separator of the plain forms, whatever the default
// separator holds.
inline constexpr uint8_t kListSeparator = '|';

enum class TokenRule : uint8_t { kAny, kAll };

// The separator of a list given by a separator argument: its first byte,
// or kListSeparator when it is empty.
uint8_t ListSeparatorFrom(Bytes sep);

// Whether the tokens of `tokens`, divided at separator, occur in txt (any
// of them or all of them, by rule).  Empty tokens are never tested.
bool TokensOccur(Bytes txt, Bytes tokens, uint8_t separator, TokenRule rule);

// Field `index` counted from the left, where every byte of seps is a
// separator.
BSTR GetFieldBySet(Bytes txt, Bytes seps, int32_t index);

// Search and replace: every occurrence of a search string in a text,
// leftmost first and without overlap, replaced by a replacement string.

// With match_case false the letters A-Z match their lower-case forms; the
// text's own bytes and the replacement are always copied as they are.
BSTR SearchAndReplace(Bytes txt, Bytes find, Bytes replace, bool match_case);

}  // namespace twinekit::fields
