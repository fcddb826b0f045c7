// Hexadecimal text and numbers: bytes written as digit pairs and read back
// from them, short hexadecimal numbers read into 16- or 32-bit integers,
// and the longitudinal redundancy check of a text.
#pragma once

#include <cstdint>

#include "frame/bytes.h"

namespace twinekit::encodings {

// Each byte of txt as two upper-case hexadecimal digits, high half first.
BSTR BytesToHex(Bytes txt);

// Each pair of bytes of txt read as one byte, without checking that they
// are hexadecimal digits; an odd last byte is ignored.
BSTR HexToBytes(Bytes txt);

// The exclusive or of all bytes of txt as two hexadecimal digits; the
// empty result for fewer than two bytes.
BSTR LongitudinalCheck(Bytes txt);

// The leading hexadecimal digits of txt (up to 4, or 8, bytes long; 0 for
// a longer or empty txt) read as a signed 16- or 32-bit number.
int16_t HexToInteger(Bytes txt);
int32_t HexToLong(Bytes txt);

}  // namespace twinekit::encodings
