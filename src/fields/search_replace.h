// Search and replace: every occurrence of a search string in a text,
// leftmost first and without overlap, replaced by a replacement string.
#pragma once

#include "frame/bytes.h"

namespace twinekit::fields {

// With match_case false the letters A-Z match their lower-case forms; the
// text's own bytes and the replacement are always copied as they are.
BSTR SearchAndReplace(Bytes txt, Bytes find, Bytes replace, bool match_case);

}  // namespace twinekit::fields
