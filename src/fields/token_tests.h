// Token lists tested against a text: does any token, or every token, occur
// in it as a substring?  And one field of a text in which any byte of a set
// separates fields.
#pragma once

#include <cstdint>

#include "frame/bytes.h"

namespace twinekit::fields {

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

}  // namespace twinekit::fields
