// The SQL layer shared by the SQL extensions (src/sql): the rules of
// argument types, NULL, results, the connection's separator, memory and
// the length limit, through SqlCall as a face calls it.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "exports/export_table.h"
#include "sql/sql_call.h"
#include "sql/sql_functions.h"
#include "twinekit_test_hooks.h"

namespace {

using namespace std::string_view_literals;
using twinekit::sql::SqlCall;
using twinekit::sql::SqlSession;
using twinekit::sql::SqlStatus;
using twinekit::sql::SqlValue;

SqlValue T(std::string_view s) { return SqlValue::Text(s.data(), s.size()); }
SqlValue B(std::string_view s) { return SqlValue::Blob(s.data(), s.size()); }
SqlValue N(int64_t n) { return SqlValue::Integer(n); }
SqlValue R(double x) { return SqlValue::Real(x); }
const SqlValue kNull{};

constexpr size_t kNoLimit = SIZE_MAX;

struct Outcome {
  SqlStatus status;
  SqlValue::Type type = SqlValue::kNull;
  std::string text;  // a string result's bytes, an INTEGER's digits or the message
};

Outcome Call(std::string_view name, std::vector<SqlValue> args, SqlSession& session,
             size_t limit = kNoLimit) {
  SqlCall call(*twinekit::FindExport(name), session);
  Outcome o{call.Run(args, limit), SqlValue::kNull, ""};
  const SqlValue& r = call.result();
  if (o.status == SqlStatus::kError) o.text = call.message();
  if (o.status != SqlStatus::kValue) return o;
  o.type = r.type;
  o.text = r.IsString() ? std::string(r.bytes, r.size) : std::to_string(r.integer);
  return o;
}

struct Rule {
  const char* what;
  std::string_view name;
  std::vector<SqlValue> args;
  SqlStatus status;
  SqlValue::Type type;
  std::string_view text;
};

const SqlStatus kValue = SqlStatus::kValue, kError = SqlStatus::kError, kNullResult = SqlStatus::kNull;
const SqlValue::Type kText = SqlValue::kText, kBlob = SqlValue::kBlob, kInt = SqlValue::kInteger,
                     kNone = SqlValue::kNull;

const Rule kRules[] = {
    {"a field", "cGetIn", {T("a|b|c"), T("|"), N(2)}, kValue, kText, "b"},
    {"a blob gives a blob", "cGetIn", {B("a|b|c"), T("|"), N(2)}, kValue, kBlob, "b"},
    {"only the first string decides", "cGetIn", {T("a|b|c"), B("|"), N(2)}, kValue, kText, "b"},
    {"zero bytes kept", "cReverse", {T("a\0b"sv)}, kValue, kText, "b\0a"sv},
    {"an empty result", "cGetIn", {T(""), T("|"), N(1)}, kValue, kText, ""},
    {"NULL text", "cGetIn", {kNull, T("|"), N(2)}, kNullResult, kNone, ""},
    {"NULL number", "cGetIn", {T("a|b"), T("|"), kNull}, kNullResult, kNone, ""},
    {"a whole REAL", "cGetIn", {T("a|b|c"), T("|"), R(2.0)}, kValue, kText, "b"},
    {"a REAL with a fraction", "cGetIn", {T("a|b|c"), T("|"), R(2.5)}, kError, kNone,
     "cGetIn: argument 3 (Index) must be a whole number from -2147483648 to 2147483647"},
    {"the Long's top", "cGetIn", {T("a|b"), T("|"), N(2147483647)}, kValue, kText, ""},
    {"the Long's bottom", "cGetIn", {T("a|b"), T("|"), N(-2147483648LL)}, kValue, kText, ""},
    {"past the Long", "cGetIn", {T("a|b"), T("|"), N(2147483648LL)}, kError, kNone,
     "cGetIn: argument 3 (Index) must be a whole number from -2147483648 to 2147483647"},
    {"a huge REAL", "cGetIn", {T("a|b"), T("|"), R(1e300)}, kError, kNone,
     "cGetIn: argument 3 (Index) must be a whole number from -2147483648 to 2147483647"},
    {"decimal text", "cGetIn", {T("a|b|c"), T("|"), T("+2")}, kValue, kText, "b"},
    {"text not a number", "cGetIn", {T("a|b|c"), T("|"), T("2x")}, kError, kNone,
     "cGetIn: argument 3 (Index) must be a whole number from -2147483648 to 2147483647"},
    {"a blank in the number", "cGetIn", {T("a|b|c"), T("|"), T(" 2")}, kError, kNone,
     "cGetIn: argument 3 (Index) must be a whole number from -2147483648 to 2147483647"},
    {"two signs", "cGetIn", {T("a|b|c"), T("|"), T("+-2")}, kError, kNone,
     "cGetIn: argument 3 (Index) must be a whole number from -2147483648 to 2147483647"},
    {"a blob as a number", "cGetIn", {T("a|b|c"), T("|"), B("2")}, kError, kNone,
     "cGetIn: argument 3 (Index) must be a whole number from -2147483648 to 2147483647"},
    {"an Integer's top", "cAlign", {T("ab"), N(32767), N(4)}, kValue, kText, "ab  "},
    {"past the Integer", "cAlign", {T("ab"), N(32768), N(4)}, kError, kNone,
     "cAlign: argument 2 (Mode) must be a whole number from -32768 to 32767"},
    {"a number as a string", "cReverse", {N(123)}, kError, kNone,
     "cReverse: argument 1 (Txt) must be text or a blob"},
    {"in place: the changed text", "cFill", {T("abc"), T("xy")}, kValue, kText, "xyx"},
    {"in place: a blob", "cCnvASCIItoEBCDIC", {B("A")}, kValue, kBlob, "\xC1"},
    {"True is -1", "cCheckNumericity", {T("123")}, kValue, kInt, "-1"},
    {"a Long result", "cH2L", {T("FFFFFFFF")}, kValue, kInt, "-1"},
    {"the Long Variant result", "cRomanToArabic", {T("mcm")}, kValue, kInt, "1900"},
    {"an INTEGER as a Variant", "cArabicToRoman", {N(4)}, kValue, kText, "iv"},
    {"a REAL as a Variant", "cArabicToRoman", {R(3.5)}, kValue, kText, "iv"},
    {"text as a Variant", "cArabicToRoman", {T(" 12 ")}, kValue, kText, "xii"},
    {"a big INTEGER as a Variant", "cArabicToRoman", {N(4294968296LL)}, kValue, kText, ""},
    {"a Variant result is TEXT", "cArabicToRoman", {B("12")}, kValue, kText, "xii"},
    {"too few values", "cGetIn", {T("a"), T("|")}, kError, kNone, "cGetIn: wrong number of arguments"},
};

TEST(SqlCall, AppliesTheRules) {
  for (const Rule& r : kRules) {
    SqlSession session;
    const Outcome o = Call(r.name, r.args, session);
    EXPECT_EQ(o.status, r.status) << r.what;
    EXPECT_EQ(o.type, r.type) << r.what;
    EXPECT_EQ(o.text, r.text) << r.what;
  }
}

TEST(SqlCall, KeepsTheSeparatorPerSession) {
  SqlSession one, two;
  EXPECT_EQ(Call("cSetDefaultSeparator", {T(",;")}, one).status, SqlStatus::kNull);
  EXPECT_EQ(Call("cSetDefaultSeparator", {T("")}, one).status, SqlStatus::kNull);
  EXPECT_EQ(Call("cGet", {T("a,b|c"), N(2)}, one).text, "b|c");
  EXPECT_EQ(Call("cGet", {T("a,b|c"), N(2)}, two).text, "c");
  EXPECT_EQ(Call("cGet", {T("a,b|c"), R(2.5)}, two).text,
            "cGet: argument 2 (Index) must be a whole number from -2147483648 to 2147483647");
  EXPECT_EQ(Call("cSetDefaultSeparator", {N(1)}, two).text,
            "cSetDefaultSeparator: argument 1 (Sep) must be text or a blob");
}

// cGet through the session gives the bytes the export cGet gives with the
// library's separator set to the same byte.
TEST(SqlCall, GetsAsTheExportDoes) {
  const std::string_view texts[] = {"", "a", "|", "a|b|c", "||x||", ",a,,b,", "a\0b\0c"sv};
  for (const char sep : {'|', ',', '\0'}) {
    SqlSession session;
    session.separator = static_cast<uint8_t>(sep);
    BSTR byte = SysAllocStringByteLen(&sep, 1);
    cSetDefaultSeparator(&byte);
    for (const std::string_view text : texts) {
      for (int32_t index = -1; index <= 6; ++index) {
        BSTR t = SysAllocStringByteLen(text.data(), static_cast<UINT>(text.size()));
        BSTR want = cGet(&t, index);
        EXPECT_EQ(Call("cGet", {T(text), N(index)}, session).text,
                  std::string_view(reinterpret_cast<const char*>(want), SysStringByteLen(want)));
        SysFreeString(want);
        SysFreeString(t);
      }
    }
    SysFreeString(byte);
  }
  BSTR bar = SysAllocStringByteLen("|", 1);
  cSetDefaultSeparator(&bar);
  SysFreeString(bar);
}

TEST(SqlCall, ReportsAResultPastTheLimit) {
  SqlSession session;
  EXPECT_EQ(Call("cCreateAndFill", {N(10), T("ab")}, session, 10).status, SqlStatus::kValue);
  EXPECT_EQ(Call("cCreateAndFill", {N(11), T("ab")}, session, 10).status, SqlStatus::kTooBig);
  EXPECT_EQ(Call("cFill", {T("abc"), T("x")}, session, 2).status, SqlStatus::kTooBig);
}

// Every allocation of a call made to fail in turn: the call reports no
// memory (or, where the export absorbs the failure, a value) and leaks
// nothing.
TEST(SqlCall, ReportsNoMemory) {
  struct Failing {
    std::string_view name;
    std::vector<SqlValue> args;
  };
  const Failing calls[] = {{"cGetIn", {T("a|b|c"), T("|"), N(2)}},
                           {"cFill", {T("abc"), T("x")}},
                           {"cArabicToRoman", {T("12")}},
                           {"cGet", {T("a|b"), N(1)}}};
  for (const Failing& f : calls) {
    bool saw_no_memory = false;
    for (int64_t k = 1; k <= 8; ++k) {
      const int64_t live = tk_test_live_bstrs();
      tk_test_fail_bstr(k, 0);
      SqlSession session;
      const SqlStatus s = Call(f.name, f.args, session).status;
      tk_test_fail_bstr(0, 0);
      saw_no_memory = saw_no_memory || s == SqlStatus::kNoMemory;
      EXPECT_TRUE(s == SqlStatus::kNoMemory || s == SqlStatus::kValue) << f.name << " k=" << k;
      EXPECT_EQ(tk_test_live_bstrs(), live) << f.name << " k=" << k;
    }
    EXPECT_TRUE(saw_no_memory) << f.name;
  }
}

// An export short of working memory answers as if it had done its work
// (the empty result, the text as it was): SQL reports no memory instead,
// for a string, a number or an in-place result alike.
TEST(SqlCall, ReportsNoWorkingMemory) {
  struct Working {
    std::string_view name;
    std::vector<SqlValue> args;
  };
  const Working calls[] = {{"cStringSAR", {T("banana"), T("an"), T("AN"), N(-1)}},
                           {"cFilterChars", {T("banana"), T("an")}},
                           {"cExpandTab", {T("a\tb"), N(4)}},
                           {"cProperName", {T("jean-luc picard")}},
                           {"cMixChars", {T("banana")}},
                           {"cCompress", {T("a   b")}}};
  for (const Working& w : calls) {
    SqlSession session;
    const int64_t attempts = tk_test_scratch_allocations();
    EXPECT_EQ(Call(w.name, w.args, session).status, SqlStatus::kValue) << w.name;
    ASSERT_GT(tk_test_scratch_allocations(), attempts) << w.name << " takes no working memory";
    const int64_t live = tk_test_live_bstrs();
    tk_test_fail_scratch(1, 1);
    const SqlStatus s = Call(w.name, w.args, session).status;
    tk_test_fail_scratch(0, 0);
    EXPECT_EQ(s, SqlStatus::kNoMemory) << w.name;
    EXPECT_EQ(tk_test_live_bstrs(), live) << w.name;
    EXPECT_EQ(tk_test_live_scratch(), 0) << w.name;
  }
}

TEST(SqlFunctions, AllButThreeAreDeterministic) {
  std::vector<std::string_view> not_deterministic;
  for (const twinekit::ExportInfo& e : twinekit::kExports) {
    if (!twinekit::sql::IsDeterministic(e)) not_deterministic.push_back(e.name);
  }
  EXPECT_EQ(not_deterministic, (std::vector<std::string_view>{"cGet", "cMixChars", "cSetDefaultSeparator"}));
}

}  // namespace
