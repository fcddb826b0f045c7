// Encodings, numbers and checksums: hexadecimal text and numbers, the
// check byte, EBCDIC, Morse code, Roman numerals, digit strings.
#pragma once

#include <cstdint>
#include <optional>

#include "encodings/ebcdic_tables.h"
#include "frame/bytes.h"
#include "frame/platform.h"

namespace twinekit::encodings {

// Hexadecimal text and numbers: bytes written as digit pairs and read back
// from them, short hexadecimal numbers read into 16- or 32-bit integers,
// and the longitudinal redundancy check of a text.

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

// Translation between ASCII and EBCDIC, one byte for one byte, in place.

// Replaces every byte of txt, zero bytes included, by table's entry for it.
// False (and nothing written) when txt is empty, true otherwise.
bool TranslateInPlace(MutableBytes txt, const ByteTable& table);

// Morse code: each letter, digit or known punctuation mark becomes its dots
// and dashes and a blank; each blank of the text becomes "~".

// The Morse text of txt's bytes before its first zero byte.  Lower-case
// letters are coded as capitals; bytes outside the blank to "Z" are skipped.
BSTR Morse(Bytes txt);

// Roman numerals in lower-case letters, both ways.

// The numeral of value; the empty result for 0 and below, and for a value
// whose numeral does not fit the 256-byte working area.
BSTR ArabicToRoman(int32_t value);

// The sum of the numeral's letters and pairs; every other byte is ignored.
// No validation, and the sum wraps around as a 32-bit Long.
int32_t RomanToArabic(Bytes txt);

// The Variants of the Roman numeral exports: the Long read from the
// caller's Variant, and the Long Variant given back.

// The caller's Variant converted to a Long by the platform's conversion.
// The conversion works on a local copy, which is cleared before this
// returns; the caller's Variant is never changed.  No value when the copy
// or the conversion fails (a null address, Null, text that is no number, a
// value out of the Long range, no memory for the copy of a string).
std::optional<int32_t> ReadLongVariant(VARIANT* number);

// A Variant of subtype Long holding value.
VARIANT LongVariant(int32_t value);

// Decimal digit strings: checking them, summing their digits, the check
// digit by casting out nines, and the nines' and 0xFF complements.  Every
// byte takes part; zero bytes and bytes 0x80 to 0xFF are non-digits.

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
