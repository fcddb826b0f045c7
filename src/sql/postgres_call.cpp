// The C++ half of the PostgreSQL extension: one call of an export through
// the SQL layer, its string result copied into memory the C half gives.
// Everything the call makes (its BSTRs, its Variant) is the library's own
// scratch and is freed before tk_pg_call returns.
#include "sql/postgres_call.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <span>

#include "sql/sql_call.h"

namespace twinekit::sql {
namespace {

// A backend is one connection: its default separator lives here.
SqlSession session;

SqlValue ValueOf(const TkPgValue& v) {
  switch (v.type) {
    case TkPgValue::TK_PG_TEXT: return SqlValue::Text(v.bytes, v.size);
    case TkPgValue::TK_PG_BLOB: return SqlValue::Blob(v.bytes, v.size);
    case TkPgValue::TK_PG_INTEGER: return SqlValue::Integer(v.integer);
    case TkPgValue::TK_PG_REAL: return SqlValue::Real(v.real);
  }
  return {};
}

TkPgStatus Copy(const SqlCall& call, TkPgAlloc alloc, TkPgResult& out) {
  const SqlValue& r = call.result();
  if (!r.IsString()) {
    out.integer = r.integer;
    return TK_PG_VALUE;
  }
  out.bytes = alloc(r.size);
  if (out.bytes == nullptr) return TK_PG_NO_MEMORY;
  if (r.size > 0) std::memcpy(out.bytes, r.bytes, r.size);
  out.size = r.size;
  return TK_PG_VALUE;
}

TkPgStatus Call(const ExportInfo& e, std::span<const SqlValue> values, size_t limit,
                TkPgAlloc alloc, TkPgResult& out) {
  SqlCall call(e, session);
  switch (call.Run(values, limit)) {
    case SqlStatus::kValue: return Copy(call, alloc, out);
    case SqlStatus::kNull: return TK_PG_NULL;
    case SqlStatus::kNoMemory: return TK_PG_NO_MEMORY;
    case SqlStatus::kTooBig: return TK_PG_TOO_BIG;
    case SqlStatus::kError: break;
  }
  const std::string_view m = call.message();
  const size_t n = std::min(m.size(), sizeof out.message - 1);
  std::memcpy(out.message, m.data(), n);
  out.message[n] = '\0';
  return TK_PG_ERROR;
}

}  // namespace
}  // namespace twinekit::sql

extern "C" TkPgStatus tk_pg_call(int ordinal, const TkPgValue* args, size_t count, size_t limit,
                                 TkPgAlloc alloc, TkPgResult* result) {
  using namespace twinekit::sql;
  // Not the whole result: zeroing its message on every call costs more
  // than some of the exports.
  result->bytes = nullptr;
  result->size = 0;
  result->integer = 0;
  result->message[0] = '\0';
  if (ordinal < 1 || ordinal > static_cast<int>(twinekit::kExports.size()) ||
      count > twinekit::call::kMaxArgs) {
    std::snprintf(result->message, sizeof result->message, "twinekit: no export %d of %zu arguments",
                  ordinal, count);
    return TK_PG_ERROR;
  }
  // Each value made once, rather than cleared and then made.
  const auto value = [&](size_t i) { return i < count ? ValueOf(args[i]) : SqlValue{}; };
  const std::array<SqlValue, twinekit::call::kMaxArgs> values{value(0), value(1), value(2), value(3)};
  static_assert(twinekit::call::kMaxArgs == 4);
  return Call(twinekit::kExports[ordinal - 1], std::span(values.data(), count), limit, alloc,
              *result);
}
