// The exports' calls for JavaScript, through the faces' call layer: one
// call open at a time, which takes the arguments as plain values (a string
// as a BSTR handed over, a number, the address of the caller's Variant),
// runs, and holds the result and the in-place argument until it ends.  The
// call owns every string from the moment it is handed over, so JavaScript
// frees nothing of it: ending the call frees them all, however far the
// call got.  Calls never overlap: JavaScript runs one at a time, reads its
// arguments before it opens the call, and no export calls back.
#include <cstdint>
#include <optional>

#include "call/export_call.h"
#include "exports/export_table.h"
#include "twinekit.h"

namespace {

using twinekit::call::ExportCall;

std::optional<ExportCall> g_call;

}  // namespace

extern "C" {

// Opens the call of the export of the ordinal (ending any still open);
// 0 when there is no such export.
int tkw_call_begin(int ordinal) {
  if (ordinal < 1 || ordinal > static_cast<int>(twinekit::kExports.size())) return 0;
  // JavaScript reads back every in-place argument whether or not it
  // changed, so the call keeps no copy of them to compare.
  g_call.emplace(twinekit::kExports[static_cast<size_t>(ordinal - 1)], ExportCall::Changes::kIgnored);
  return 1;
}

// Argument i: a string (a BSTR of bytes, or null), which the call takes; a
// Long or an Integer; the Variant at v, which stays the caller's.
void tkw_call_string(size_t i, BSTR bytes) { g_call->TakeString(i, bytes); }
void tkw_call_number(size_t i, int32_t n) { g_call->SetNumber(i, n); }
void tkw_call_variant(size_t i, VARIANT* v) { g_call->SetVariant(i, v); }

// Calls the export: 0, without calling it, when there is no memory for it.
int tkw_call_run() { return g_call->Run() ? 1 : 0; }

// The result, read before the call ends: a string (the call's own), an
// Integer sign-extended or a Long, or the Variant.
BSTR tkw_call_result_string() { return g_call->result().string; }
int32_t tkw_call_result_number() { return g_call->result().number; }
const VARIANT* tkw_call_result_variant() { return &g_call->result().variant; }

// String argument i as the export left it (the call's own).
BSTR tkw_call_argument(size_t i) { return g_call->String(i); }

// Ends the call, freeing its strings and its result.  A Variant result
// holds a Long; a copy is cleared all the same, so that whatever else one
// held is freed too.
void tkw_call_end() {
  if (!g_call) return;
  if (g_call->info().result == 'X') {
    VARIANT result = g_call->result().variant;
    VariantClear(&result);
  }
  g_call.reset();
}

}  // extern "C"
