// Decimal digit strings: checking them, summing their digits, the check
// digit by casting out nines, and the nines' and 0xFF complements.  Every
// byte takes part; zero bytes and bytes 0x80 to 0xFF are non-digits.
#pragma once

#include <cstdint>

#include "frame/bytes.h"

namespace twinekit::encodings {

// True when txt is not empty and every byte is a digit.
bool AllDigits(Bytes txt);

// The sum of the digits of txt, wrapping at 16 bits.
int16_t DigitSum(Bytes txt);

// The digital root of the digits of txt (1 to 9), or 0 when it holds no
// digit other than "0".
int16_t CheckDigit(Bytes txt);

// Each digit d of txt replaced by 9 - d; other bytes unchanged.
BSTR NinesComplement(Bytes txt);

// Each byte b of txt replaced by 0xFF - b.
BSTR ByteComplement(Bytes txt);

}  // namespace twinekit::encodings
