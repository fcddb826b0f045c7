// SQL values read as export arguments, by the argument's kind.
//
// Strings (R, W, V): TEXT and BLOB alike, as bytes with their length, zero
// bytes kept.  A number is not a string here: an engine that converts
// numbers to text (SQLite) does so before it hands the value over.
// Long (L) and Integer (I): an INTEGER in the Basic type's range, a REAL
// with no fraction in that range, or TEXT that is a decimal whole number
// in it (an optional sign, then digits, nothing else).
// Variant (X): an INTEGER is a Long when it fits and a Double otherwise
// (the export then finds it out of range, as for any Double); a REAL is a
// Double; TEXT or a BLOB is a String of one character for each byte,
// converted by the export as a Basic host's String would be.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "exports/export_table.h"
#include "sql/sql_value.h"
#include "twinekit.h"

namespace twinekit::sql {

// The number a Long or Integer argument carries; none when the value is
// not a whole number in the range of the kind.
std::optional<int32_t> WholeNumber(const SqlValue& v, char kind);

// The longest string an argument can be: a BSTR counts its bytes in 31 bits.
inline constexpr size_t kLongestString = INT32_MAX;

// A new BSTR of a string value's bytes (no longer than kLongestString);
// null for want of memory.
BSTR StringOf(const SqlValue& v);

// The Variant of a value in out; false for want of memory.
bool VariantOf(const SqlValue& v, VARIANT& out);

// The message that argument i of e was not of its kind, e.g.
// "cGetIn: argument 3 (Index) must be a whole number from -2147483648 to
// 2147483647".
using Message = std::array<char, 128>;
void WrongArgument(const ExportInfo& e, size_t i, Message& out);

// The message that a face gave e a wrong number of values.
void WrongCount(const ExportInfo& e, Message& out);

}  // namespace twinekit::sql
