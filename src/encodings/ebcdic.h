// Translation between ASCII and EBCDIC, one byte for one byte, in place.
#pragma once

#include "encodings/ebcdic_tables.h"
#include "frame/bytes.h"

namespace twinekit::encodings {

// Replaces every byte of txt, zero bytes included, by table's entry for it.
// False (and nothing written) when txt is empty, true otherwise.
bool TranslateInPlace(MutableBytes txt, const ByteTable& table);

}  // namespace twinekit::encodings
