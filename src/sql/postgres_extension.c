/* The PostgreSQL face of TwineKit: CREATE EXTENSION twinekit.
 *
 * Each export is two SQL functions, one on bytea and one on text (see
 * scripts/write-postgres-sql.py, which writes them and the list of C
 * functions below from the export table).  A function reads its Datums,
 * hands them to tk_pg_call (postgres_call.cpp, which applies the SQL
 * layer's rules), and makes its result; tk_pg_call copies a string result
 * into memory of the current context through AllocResult and returns with
 * nothing of its own left, and only then is an error raised, since
 * PostgreSQL's errors leave by longjmp.
 *
 * A text result must be valid in the database's encoding: one that is not
 * is an error that points to the bytea form, never a stored value. */
#include "postgres.h"

#include "fmgr.h"
#include "mb/pg_wchar.h"
#include "utils/memutils.h"

#include "postgres_call.h"

PG_MODULE_MAGIC;

/* How a SQL function takes its strings, its Variant argument and its
 * string result: bytea for bytea, text for the others. */
typedef enum Form { FORM_bytea, FORM_text, FORM_int4, FORM_int8, FORM_float8 } Form;

/* A string result: a varlena of the current memory context, its header
 * set; palloc_extended with MCXT_ALLOC_NO_OOM answers null instead of
 * raising an error.  n is at most the limit given to tk_pg_call, so the
 * size is always a valid request. */
static char *AllocResult(size_t n) {
  struct varlena *v = palloc_extended(VARHDRSZ + n, MCXT_ALLOC_NO_OOM);
  if (v == NULL) return NULL;
  SET_VARSIZE(v, VARHDRSZ + n);
  return VARDATA(v);
}

static TkPgValue Bytes(FunctionCallInfo fcinfo, int i, Form form) {
  struct varlena *v = PG_GETARG_VARLENA_PP(i);
  TkPgValue value = {form == FORM_bytea ? TK_PG_BLOB : TK_PG_TEXT, VARDATA_ANY(v),
                     VARSIZE_ANY_EXHDR(v), 0, 0};
  return value;
}

static TkPgValue Integer(int64 n) {
  TkPgValue value = {TK_PG_INTEGER, NULL, 0, n, 0};
  return value;
}

static TkPgValue Variant(FunctionCallInfo fcinfo, int i, Form form) {
  TkPgValue value = {TK_PG_REAL, NULL, 0, 0, 0};
  switch (form) {
    case FORM_int4: return Integer(PG_GETARG_INT32(i));
    case FORM_int8: return Integer(PG_GETARG_INT64(i));
    case FORM_float8: value.real = PG_GETARG_FLOAT8(i); return value;
    default: return Bytes(fcinfo, i, form);
  }
}

static void RaiseError(const char *name, TkPgStatus status, const TkPgResult *result) {
  switch (status) {
    case TK_PG_ERROR:
      ereport(ERROR, (errcode(ERRCODE_NUMERIC_VALUE_OUT_OF_RANGE), errmsg("%s", result->message)));
      break;
    case TK_PG_NO_MEMORY:
      ereport(ERROR, (errcode(ERRCODE_OUT_OF_MEMORY), errmsg("out of memory"),
                      errdetail("%s could not get the memory it needs.", name)));
      break;
    case TK_PG_TOO_BIG:
      ereport(ERROR, (errcode(ERRCODE_PROGRAM_LIMIT_EXCEEDED),
                      errmsg("%s: the result is longer than %zu bytes", name,
                             (size_t)(MaxAllocSize - VARHDRSZ))));
      break;
    default:
      break;
  }
}

/* A text result that is not valid in the database's encoding. */
static void RaiseNotText(const char *name) {
  ereport(ERROR,
          (errcode(ERRCODE_CHARACTER_NOT_IN_REPERTOIRE),
           errmsg("%s: the result is not valid %s text", name, GetDatabaseEncodingName()),
           errhint("The bytea form of %s, called with bytea arguments (e.g. convert_to(txt, '%s')), "
                   "gives the bytes.", name, GetDatabaseEncodingName())));
}

static Datum CallExport(FunctionCallInfo fcinfo, const char *name, int ordinal,
                        const char *kinds, Form form) {
  TkPgValue args[4];
  size_t count = strlen(kinds);
  TkPgResult result;
  TkPgStatus status;
  size_t i;
  /* Only a hand-made CREATE FUNCTION can call with other arguments. */
  if (count > lengthof(args) || PG_NARGS() != (int)count)
    ereport(ERROR, (errcode(ERRCODE_INVALID_FUNCTION_DEFINITION),
                    errmsg("%s takes %zu arguments, not %d", name, count, PG_NARGS())));
  for (i = 0; i < count; ++i) {
    switch (kinds[i]) {
      case 'L':
      case 'I': args[i] = Integer(PG_GETARG_INT64(i)); break;
      case 'X': args[i] = Variant(fcinfo, i, form); break;
      default: args[i] = Bytes(fcinfo, i, form); break;
    }
  }
  status = tk_pg_call(ordinal, args, count, MaxAllocSize - VARHDRSZ, AllocResult, &result);
  if (status == TK_PG_NULL) PG_RETURN_NULL();
  if (status != TK_PG_VALUE) RaiseError(name, status, &result);
  if (result.bytes == NULL) PG_RETURN_INT32((int32)result.integer);
  if (form != FORM_bytea && !pg_verifymbstr(result.bytes, result.size, true)) RaiseNotText(name);
  PG_RETURN_POINTER(result.bytes - VARHDRSZ);
}

/* The C functions, twinekit_<export>_<form>, which the install script
 * names. */
#define TK_PG_FUNCTION(name, ordinal, kinds, form)                            \
  PG_FUNCTION_INFO_V1(twinekit_##name##_##form);                              \
  Datum twinekit_##name##_##form(PG_FUNCTION_ARGS) {                          \
    return CallExport(fcinfo, #name, ordinal, kinds, FORM_##form);            \
  }
#include "twinekit_functions.h"
