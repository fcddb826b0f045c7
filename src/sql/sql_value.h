// A value as a SQL engine hands it over or takes it back: NULL, a 64-bit
// INTEGER, a REAL, or TEXT or a BLOB as bytes with their length.  The
// bytes belong to whoever made the value; they stay valid for as long as
// it says.
#pragma once

#include <cstddef>
#include <cstdint>

namespace twinekit::sql {

struct SqlValue {
  enum Type : uint8_t { kNull, kInteger, kReal, kText, kBlob } type = kNull;
  int64_t integer = 0;
  double real = 0;
  const char* bytes = nullptr;  // kText, kBlob
  size_t size = 0;

  static SqlValue Integer(int64_t n) { return {kInteger, n, 0, nullptr, 0}; }
  static SqlValue Real(double x) { return {kReal, 0, x, nullptr, 0}; }
  static SqlValue Text(const char* b, size_t n) { return {kText, 0, 0, b, n}; }
  static SqlValue Blob(const char* b, size_t n) { return {kBlob, 0, 0, b, n}; }

  bool IsString() const { return type == kText || type == kBlob; }
};

// How a call ended: with a value, with NULL, with an error message, for
// want of memory, or with a result longer than the engine's limit.
enum class SqlStatus : uint8_t { kValue, kNull, kError, kNoMemory, kTooBig };

}  // namespace twinekit::sql
