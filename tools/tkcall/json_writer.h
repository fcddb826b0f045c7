// tkcall's JSON, for programs that read calls and cases without the case
// syntax: bytes in hexadecimal, text escaped, values by their tag.
#pragma once

#include <string>
#include <string_view>

#include "case_line.h"

namespace tkcall {

// Bytes as a JSON string of hexadecimal digits.
std::string JsonHex(std::string_view bytes);

// Text as a JSON string: printable ASCII as it is, every other byte escaped.
std::string JsonText(std::string_view text);

// A value as a JSON object: {"bytes": HEX} for a string, {"null": true}
// for a null BSTR, {"number": N} for a Long or Integer, and for a Variant
// {"vt": TYPE} with "integer" (the whole-number types), "real" (R4, R8,
// DATE) or "text" (a String's bytes in hexadecimal).
std::string JsonValue(const tkhost::Value& v);

// A case line as one line of JSON: {"where", "name", "kinds" (the export
// table's argument kinds and then its result kind), "args" (values),
// "want" (a value, or null for none), "after" (hexadecimal, or null),
// "clock" (seconds, or null: the real clock)}.
std::string JsonCase(const tkcases::Case& c);

}  // namespace tkcall
