// The SQLite loadable extension: the 64 functions under their own names,
// each argument an SQL value, through the SQL layer (sql_call.h).
//
//   .load ./twinekit                 (the shell)
//   SELECT load_extension('twinekit');
//
// SQLite finds the entry point by its naming rule for a file named
// twinekit: sqlite3_twinekit_init.  The default separator belongs to the
// connection: each connection that loads the extension gets its own
// session, shared by its 64 functions and freed when the last of them goes.
#include <sqlite3ext.h>

#include <array>
#include <cstddef>
#include <utility>

#include "call/typed_call.h"
#include "exports/export_table.h"
#include "sql/sql_call.h"
#include "sql/sql_functions.h"

SQLITE_EXTENSION_INIT1

namespace {

using twinekit::ExportInfo;
using twinekit::kExports;
using twinekit::sql::SqlCall;
using twinekit::sql::SqlSession;
using twinekit::sql::SqlStatus;
using twinekit::sql::SqlValue;

// The session of a connection, with the count of its functions still
// registered.
struct Connection {
  SqlSession session;
  int functions;
};

void ReleaseConnection(void* p) {
  Connection* c = static_cast<Connection*>(p);
  if (--c->functions == 0) sqlite3_free(c);
}

bool IsString(char kind) { return kind == 'R' || kind == 'W' || kind == 'V'; }

// An argument as the layer reads it.  A number given for a string is read
// as its text, as SQLite's own string functions read it; false when SQLite
// has no memory to make that text.
bool ReadValue(sqlite3_value* v, char kind, SqlValue& out) {
  const int type = sqlite3_value_type(v);
  if (type == SQLITE_INTEGER && !IsString(kind)) {
    out = SqlValue::Integer(sqlite3_value_int64(v));
  } else if (type == SQLITE_FLOAT && !IsString(kind)) {
    out = SqlValue::Real(sqlite3_value_double(v));
  } else if (type == SQLITE_BLOB) {
    const char* bytes = static_cast<const char*>(sqlite3_value_blob(v));
    out = SqlValue::Blob(bytes, static_cast<size_t>(sqlite3_value_bytes(v)));
  } else if (type != SQLITE_NULL) {
    const char* bytes = reinterpret_cast<const char*>(sqlite3_value_text(v));
    if (bytes == nullptr) return false;
    out = SqlValue::Text(bytes, static_cast<size_t>(sqlite3_value_bytes(v)));
  }
  return true;
}

void SetResult(sqlite3_context* ctx, const SqlValue& r) {
  switch (r.type) {
    case SqlValue::kInteger: sqlite3_result_int64(ctx, r.integer); break;
    case SqlValue::kText:
      sqlite3_result_text64(ctx, r.bytes, r.size, SQLITE_TRANSIENT, SQLITE_UTF8);
      break;
    case SqlValue::kBlob: sqlite3_result_blob64(ctx, r.bytes, r.size, SQLITE_TRANSIENT); break;
    default: sqlite3_result_null(ctx); break;
  }
}

void Call(const ExportInfo& e, sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  std::array<SqlValue, twinekit::call::kMaxArgs> values{};
  for (size_t i = 0; i < static_cast<size_t>(argc); ++i) {
    if (!ReadValue(argv[i], e.args[i], values[i])) return sqlite3_result_error_nomem(ctx);
  }
  Connection* c = static_cast<Connection*>(sqlite3_user_data(ctx));
  const int limit = sqlite3_limit(sqlite3_context_db_handle(ctx), SQLITE_LIMIT_LENGTH, -1);
  SqlCall call(e, c->session);
  switch (call.Run(std::span(values.data(), static_cast<size_t>(argc)), static_cast<size_t>(limit))) {
    case SqlStatus::kValue: return SetResult(ctx, call.result());
    case SqlStatus::kNull: return sqlite3_result_null(ctx);
    case SqlStatus::kError:
      return sqlite3_result_error(ctx, call.message().data(), static_cast<int>(call.message().size()));
    case SqlStatus::kNoMemory: return sqlite3_result_error_nomem(ctx);
    case SqlStatus::kTooBig: return sqlite3_result_error_toobig(ctx);
  }
}

template <size_t k>
void CallExport(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  Call(kExports[k], ctx, argc, argv);
}

using Function = void (*)(sqlite3_context*, int, sqlite3_value**);

template <size_t... k>
constexpr std::array<Function, sizeof...(k)> Functions(std::index_sequence<k...>) {
  return {&CallExport<k>...};
}
constexpr std::array<Function, kExports.size()> kFunctions = Functions(std::make_index_sequence<kExports.size()>());

// Pure functions may serve indexes, generated columns and views under
// trusted_schema=OFF; the one that changes the connection's state may be
// called only from top-level SQL, not from a schema.
int Flags(const ExportInfo& e) {
  if (twinekit::sql::IsDeterministic(e)) return SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
  if (e.name == "cSetDefaultSeparator") return SQLITE_UTF8 | SQLITE_DIRECTONLY;
  return SQLITE_UTF8;
}

int RegisterFunction(sqlite3* db, const ExportInfo& e, Connection* c, Function f) {
  return sqlite3_create_function_v2(db, e.name.data(), static_cast<int>(e.args.size()), Flags(e), c, f,
                                    nullptr, nullptr, ReleaseConnection);
}

// Registers the 64 functions, each holding a share of c, which it releases
// when SQLite lets it go.  When one cannot be registered (SQLite found no
// memory, and released that one's share), the others release theirs and
// those made are removed, since SQLite unloads the module on failure.
int Register(sqlite3* db, Connection* c) {
  size_t made = 0;
  int rc = SQLITE_OK;
  while (made < kExports.size() && rc == SQLITE_OK) {
    rc = RegisterFunction(db, kExports[made], c, kFunctions[made]);
    made += rc == SQLITE_OK;
  }
  if (rc == SQLITE_OK) return rc;
  for (size_t k = made + 1; k < kExports.size(); ++k) ReleaseConnection(c);
  for (size_t k = 0; k < made; ++k) {
    const ExportInfo& e = kExports[k];
    sqlite3_create_function_v2(db, e.name.data(), static_cast<int>(e.args.size()), SQLITE_UTF8, nullptr,
                               nullptr, nullptr, nullptr, nullptr);
  }
  return rc;
}

}  // namespace

#ifdef _WIN32
#define TK_SQLITE_ENTRY extern "C" __declspec(dllexport)
#else
#define TK_SQLITE_ENTRY extern "C" __attribute__((visibility("default")))
#endif

TK_SQLITE_ENTRY int sqlite3_twinekit_init(sqlite3* db, char** error, const sqlite3_api_routines* api) {
  SQLITE_EXTENSION_INIT2(api);
  (void)error;
  Connection* c = static_cast<Connection*>(sqlite3_malloc(sizeof(Connection)));
  if (c == nullptr) return SQLITE_NOMEM;
  *c = Connection{SqlSession{}, static_cast<int>(kExports.size())};
  return Register(db, c);
}
