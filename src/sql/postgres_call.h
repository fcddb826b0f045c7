/* Where the PostgreSQL extension's two halves meet: postgres_extension.c,
 * which holds PostgreSQL's types and may raise its errors, and
 * postgres_call.cpp, which calls the SQL layer in C++.  Only plain C types
 * cross, and nothing crosses back but a status: tk_pg_call returns with
 * every C++ object of the call destroyed, and never raises an error or
 * lets an exception out, so the C half may then raise one. */
#ifndef TWINEKIT_SQL_POSTGRES_CALL_H
#define TWINEKIT_SQL_POSTGRES_CALL_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* An argument: a string (its bytes stay the caller's), or a number. */
typedef struct TkPgValue {
  enum { TK_PG_TEXT, TK_PG_BLOB, TK_PG_INTEGER, TK_PG_REAL } type;
  const char *bytes;
  size_t size;
  int64_t integer;
  double real;
} TkPgValue;

typedef enum TkPgStatus {
  TK_PG_VALUE,     /* result.bytes (made by alloc) or result.integer */
  TK_PG_NULL,      /* no value */
  TK_PG_ERROR,     /* result.message says what was wrong */
  TK_PG_NO_MEMORY, /* the library or alloc found no memory */
  TK_PG_TOO_BIG    /* the result is longer than the limit */
} TkPgStatus;

typedef struct TkPgResult {
  char *bytes; /* a string result, from alloc; null for a number */
  size_t size;
  int64_t integer;
  char message[128];
} TkPgResult;

/* Memory for a string result of n bytes, or null; it must not raise an
 * error. */
typedef char *(*TkPgAlloc)(size_t n);

/* Calls export `ordinal` of the export table with `count` arguments, a
 * string result at most `limit` bytes long. */
TkPgStatus tk_pg_call(int ordinal, const TkPgValue *args, size_t count, size_t limit,
                      TkPgAlloc alloc, TkPgResult *result);

#ifdef __cplusplus
}
#endif

#endif /* TWINEKIT_SQL_POSTGRES_CALL_H */
