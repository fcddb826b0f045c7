// Translation of a text's bytes in place by a pair of lists: the byte at
// place k of the old list becomes the byte at place k of the new one, the
// pairs applied one after another in list order, so changes chain.
#pragma once

#include "frame/bytes.h"

namespace twinekit::charsets {

// True after translating all of txt; False, with txt untouched, when txt
// or either list is empty.
bool ChangeChars(MutableBytes txt, Bytes old_chars, Bytes new_chars);

// As ChangeChars, but the walk ends at the first byte of txt that equals
// the first byte of stop before translation; that byte and the rest stay.
// False when stop is empty too.
bool ChangeCharsUntil(MutableBytes txt, Bytes old_chars, Bytes new_chars, Bytes stop);

}  // namespace twinekit::charsets
