// The capitalisation of personal names: the plain form, which puts the
// first byte of every blank-separated word in upper case, and the full form
// with its exception list and option bits.  Both give back a new string of
// the text's length.
#pragma once

#include <cstdint>

#include "frame/bytes.h"

namespace twinekit::names {

BSTR ProperName(Bytes txt);

// exceptions: the list argument whole (its byte count decides whether it
// is used; its words run up to its first zero byte).  option_bits: the
// Integer argument, of which only bits 1, 2, 4 and 8 count.
BSTR ProperName2(Bytes txt, Bytes exceptions, int16_t option_bits);

}  // namespace twinekit::names
