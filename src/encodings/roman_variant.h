// The Variants of the Roman numeral exports: the Long read from the
// caller's Variant, and the Long Variant given back.
#pragma once

#include <cstdint>
#include <optional>

#include "frame/platform.h"

namespace twinekit::encodings {

// The caller's Variant converted to a Long by the platform's conversion.
// The conversion works on a local copy, which is cleared before this
// returns; the caller's Variant is never changed.  No value when the copy
// or the conversion fails (a null address, Null, text that is no number, a
// value out of the Long range, no memory for the copy of a string).
std::optional<int32_t> ReadLongVariant(VARIANT* number);

// A Variant of subtype Long holding value.
VARIANT LongVariant(int32_t value);

}  // namespace twinekit::encodings
