// Morse code: each letter, digit or known punctuation mark becomes its dots
// and dashes and a blank; each blank of the text becomes "~".
#pragma once

#include "frame/bytes.h"

namespace twinekit::encodings {

// The Morse text of txt's bytes before its first zero byte.  Lower-case
// letters are coded as capitals; bytes outside the blank to "Z" are skipped.
BSTR Morse(Bytes txt);

}  // namespace twinekit::encodings
