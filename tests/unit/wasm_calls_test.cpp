// The WebAssembly module's calls (wasm/export_calls.cpp), compiled natively
// so that its own code builds with every native tier and runs under the
// sanitizers: what JavaScript does through them, a call ended at any step
// freeing everything it took.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "exports/export_table.h"
#include "twinekit_test_hooks.h"

extern "C" {
int tkw_call_begin(int ordinal);
void tkw_call_string(size_t i, BSTR bytes);
void tkw_call_number(size_t i, int32_t n);
void tkw_call_variant(size_t i, VARIANT* v);
int tkw_call_run();
BSTR tkw_call_result_string();
int32_t tkw_call_result_number();
const VARIANT* tkw_call_result_variant();
BSTR tkw_call_argument(size_t i);
void tkw_call_end();
}

namespace {

std::string Bytes(BSTR s) {
  return s == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(s), SysStringByteLen(s));
}
BSTR Take(std::string_view s) { return SysAllocStringByteLen(s.data(), static_cast<UINT>(s.size())); }

int Ordinal(std::string_view name) { return twinekit::FindExport(name)->ordinal; }

// A call as JavaScript makes one: strings handed over, numbers, the result
// and the in-place argument read back, then the end.
struct Step {
  const char* what;
  std::string_view name;
  std::vector<std::string_view> strings;  // arguments 0.. of kind R, W or V
  std::vector<int32_t> numbers;           // the arguments after them
  std::string result;                     // a string result, or a number's digits
  std::string in_place;                   // argument 0 afterwards, when it is W
};

const Step kSteps[] = {
    {"a field", "cGetIn", {"a|b|c", "|"}, {2}, "b", ""},
    {"an empty field past the end", "cGetIn", {"a|b", "|"}, {9}, "", ""},
    {"a null string reads as empty", "cGetIn", {{}, "|"}, {1}, "", ""},
    {"zero bytes survive", "cGetIn", {std::string_view("x\0y|z", 5), "|"}, {1}, std::string("x\0y", 3), ""},
    {"an in-place change", "cChangeChars", {"banana", "a", "o"}, {}, "-1", "bonono"},
    {"an in-place call that changes nothing", "cChangeChars", {"xyz", "a", "o"}, {}, "-1", "xyz"},
};

TEST(WasmCalls, RunsEachExportAsJavaScriptDoes) {
  for (const Step& s : kSteps) {
    const int64_t live = tk_test_live_bstrs();
    const twinekit::ExportInfo& e = *twinekit::FindExport(s.name);
    ASSERT_EQ(tkw_call_begin(e.ordinal), 1) << s.what;
    size_t i = 0;
    for (std::string_view str : s.strings) tkw_call_string(i++, str.data() ? Take(str) : nullptr);
    for (int32_t n : s.numbers) tkw_call_number(i++, n);
    ASSERT_EQ(tkw_call_run(), 1) << s.what;
    const std::string got = e.result == 'S' ? Bytes(tkw_call_result_string())
                                             : std::to_string(tkw_call_result_number());
    EXPECT_EQ(got, s.result) << s.what;
    if (e.args[0] == 'W') {
      EXPECT_EQ(Bytes(tkw_call_argument(0)), s.in_place) << s.what;
    }
    tkw_call_end();
    EXPECT_EQ(tk_test_live_bstrs(), live) << s.what << ": left alive";
  }
}

TEST(WasmCalls, VariantsStayTheCallersAndAVariantResultIsFreed) {
  const int64_t live = tk_test_live_bstrs();
  VARIANT n{};
  n.vt = VT_I4;
  n.lVal = 1994;
  ASSERT_EQ(tkw_call_begin(Ordinal("cArabicToRoman")), 1);
  tkw_call_variant(0, &n);
  ASSERT_EQ(tkw_call_run(), 1);
  EXPECT_EQ(Bytes(tkw_call_result_string()), "mcmxciv");
  tkw_call_end();
  EXPECT_EQ(n.vt, VT_I4);
  EXPECT_EQ(n.lVal, 1994);

  ASSERT_EQ(tkw_call_begin(Ordinal("cRomanToArabic")), 1);
  tkw_call_string(0, Take("mcmxciv"));
  ASSERT_EQ(tkw_call_run(), 1);
  const VARIANT* r = tkw_call_result_variant();
  EXPECT_EQ(r->vt, VT_I4);
  EXPECT_EQ(r->lVal, 1994);
  tkw_call_end();
  EXPECT_EQ(tk_test_live_bstrs(), live);
}

TEST(WasmCalls, RefusesOrdinalsOutsideTheTable) {
  for (int ordinal : {0, -1, 65, INT32_MIN, INT32_MAX}) EXPECT_EQ(tkw_call_begin(ordinal), 0) << ordinal;
  tkw_call_end();  // with no call open: nothing to do
}

// JavaScript may stop at any step (an argument it cannot convert throws):
// the next begin or an end frees what the call took so far.
TEST(WasmCalls, ACallEndedOrReplacedBeforeItRunsFreesItsStrings) {
  const int64_t live = tk_test_live_bstrs();
  ASSERT_EQ(tkw_call_begin(Ordinal("cChangeChars")), 1);
  tkw_call_string(0, Take("abc"));
  tkw_call_string(1, Take("a"));
  tkw_call_end();
  EXPECT_EQ(tk_test_live_bstrs(), live);

  ASSERT_EQ(tkw_call_begin(Ordinal("cGetIn")), 1);
  tkw_call_string(0, Take("a|b"));
  ASSERT_EQ(tkw_call_begin(Ordinal("cGetIn")), 1);  // the first call ends here
  tkw_call_string(0, Take("a|b"));
  tkw_call_string(1, Take("|"));
  tkw_call_number(2, 2);
  ASSERT_EQ(tkw_call_run(), 1);
  EXPECT_EQ(Bytes(tkw_call_result_string()), "b");
  tkw_call_end();
  EXPECT_EQ(tk_test_live_bstrs(), live);
}

}  // namespace
