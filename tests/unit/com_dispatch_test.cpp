// The COM object's argument translation and IDispatch work, run natively
// on the library's own OLE layer: what a script's mistakes, a caller's
// out parameters and failing allocations do to the caller's variables.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "com/dispatch_call.h"
#include "exports/export_table.h"
#include "twinekit_test_hooks.h"

namespace {

using twinekit::com::InvokeExport;

DISPID Member(std::string_view name) { return twinekit::FindExport(name)->ordinal; }

BSTR Wide(std::u16string_view text) {
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                           static_cast<UINT>(text.size()));
}

std::u16string Text(BSTR s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s), SysStringLen(s));
}

VARIANT Str(std::u16string_view text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = Wide(text);
  return v;
}

VARIANT Long(int32_t n) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = n;
  return v;
}

template <typename T>
VARIANT Ref(VARTYPE vt, T* target) {
  VARIANT v;
  VariantInit(&v);
  v.vt = static_cast<VARTYPE>(VT_BYREF | vt);
  std::memcpy(&v.lVal, &target, sizeof target);
  return v;
}

VARIANT Missing() {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_ERROR;
  v.lVal = DISP_E_PARAMNOTFOUND;
  return v;
}

// A method call's arguments as a script passes them: positional, last to
// first in rgvarg.  Frees the values it was given.
class Arguments {
 public:
  explicit Arguments(std::vector<VARIANT> in_order) : rgvarg_(in_order.rbegin(), in_order.rend()) {
    params_ = {rgvarg_.data(), nullptr, static_cast<UINT>(rgvarg_.size()), 0};
  }
  ~Arguments() {
    for (VARIANT& v : rgvarg_) VariantClear(&v);
  }
  DISPPARAMS* params() { return &params_; }

 private:
  std::vector<VARIANT> rgvarg_;
  DISPPARAMS params_;
};

// A result Variant holding what a caller's uninitialised memory might: a
// String whose pointer is no BSTR.  Reading or clearing it is a fault.
VARIANT Garbage() {
  VARIANT v;
  std::memset(&v, 0xA5, sizeof v);
  v.vt = VT_BSTR;
  return v;
}

bool SameBits(const VARIANT& a, const VARIANT& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct Refusal {
  const char* what;
  const char* method;
  std::vector<VARIANT> (*args)();
  HRESULT error;
  UINT bad;  // index in rgvarg
};

const Refusal kRefusals[] = {
    {"letters for a Long", "cGetIn", [] { return std::vector{Str(u"a|b"), Str(u"|"), Str(u"two")}; },
     DISP_E_TYPEMISMATCH, 0},
    {"an Integer out of range", "cAlign", [] { return std::vector{Str(u"ab"), Long(40000), Long(5)}; },
     DISP_E_OVERFLOW, 1},
    {"a missing argument", "cGetIn", [] { return std::vector{Str(u"a|b"), Missing(), Long(2)}; },
     DISP_E_PARAMNOTOPTIONAL, 1},
    {"a missing in-place text", "cFill", [] { return std::vector{Missing(), Str(u"ab")}; },
     DISP_E_PARAMNOTOPTIONAL, 1},
};

TEST(ComDispatch, RefusedArgumentLeavesTheResultAlone) {
  for (const Refusal& r : kRefusals) {
    Arguments a(r.args());
    VARIANT result = Garbage();
    const VARIANT before = result;
    UINT bad = 99;
    EXPECT_EQ(InvokeExport(Member(r.method), DISPATCH_METHOD, a.params(), &result, &bad), r.error)
        << r.what;
    EXPECT_EQ(bad, r.bad) << r.what;
    EXPECT_TRUE(SameBits(result, before)) << r.what << ": the result was touched";
  }
}

TEST(ComDispatch, ResultIsAnOutParameterNeverCleared) {
  Arguments a({Str(u"a|b|c"), Str(u"|"), Long(2)});
  VARIANT result = Garbage();
  ASSERT_EQ(InvokeExport(Member("cGetIn"), DISPATCH_METHOD, a.params(), &result, nullptr), S_OK);
  ASSERT_EQ(result.vt, VT_BSTR);
  EXPECT_EQ(Text(result.bstrVal), u"b");
  VariantClear(&result);
}

TEST(ComDispatch, CountsAndNamesAreChecked) {
  Arguments two({Str(u"a|b"), Str(u"|")});
  VARIANT result;
  EXPECT_EQ(InvokeExport(Member("cGetIn"), DISPATCH_METHOD, two.params(), &result, nullptr),
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(InvokeExport(0, DISPATCH_METHOD, two.params(), &result, nullptr), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(InvokeExport(65, DISPATCH_METHOD, two.params(), &result, nullptr), DISP_E_MEMBERNOTFOUND);
  // Named: Sep (1) given by name, Txt positional; the second naming of the
  // same argument is refused and pointed at.
  Arguments named({Str(u"a,b"), Str(u",")});
  DISPID ids[] = {1, 1};
  DISPPARAMS p = *named.params();
  p.rgdispidNamedArgs = ids;
  p.cNamedArgs = 1;
  ASSERT_EQ(InvokeExport(Member("cCount"), DISPATCH_METHOD, &p, &result, nullptr), S_OK);
  EXPECT_EQ(result.vt, VT_I2);
  EXPECT_EQ(result.iVal, 1);
  p.cNamedArgs = 2;
  UINT bad = 99;
  EXPECT_EQ(InvokeExport(Member("cCount"), DISPATCH_METHOD, &p, &result, &bad), DISP_E_PARAMNOTFOUND);
  EXPECT_EQ(bad, 1u);
}

struct WriteBack {
  const char* what;
  std::u16string text, from, to;
  std::u16string after;  // in the caller's variable
  bool same_string;      // the caller's own BSTR left in place
};

// Natively the code page is Latin-1: U+03A9 is not in it.
const WriteBack kWriteBacks[] = {
    {"no byte changed", u"\u03A9mega", u"x", u"y", u"\u03A9mega", true},
    {"a byte changed", u"\u03A9mexa", u"x", u"g", u"?mega", false},
    {"an empty text", u"", u"x", u"y", u"", true},
};

TEST(ComDispatch, InPlaceTextGoesBackOnlyWhenChanged) {
  for (const WriteBack& w : kWriteBacks) {
    for (bool through_variant : {false, true}) {
      BSTR variable = Wide(w.text);
      const BSTR own = variable;
      VARIANT held;  // a Variant variable holding the String
      VariantInit(&held);
      held.vt = VT_BSTR;
      held.bstrVal = variable;
      VARIANT txt = through_variant ? Ref(VT_VARIANT, &held) : Ref(VT_BSTR, &variable);
      Arguments a({txt, Str(w.from), Str(w.to)});
      VARIANT result;
      ASSERT_EQ(InvokeExport(Member("cChangeChars"), DISPATCH_METHOD, a.params(), &result, nullptr),
                S_OK);
      BSTR& now = through_variant ? held.bstrVal : variable;
      EXPECT_EQ(Text(now), w.after) << w.what;
      EXPECT_EQ(now == own, w.same_string) << w.what;
      SysFreeString(now);
    }
  }
}

// Every BSTR allocation of a call failed in turn: the call answers
// E_OUTOFMEMORY or succeeds, and a failed one leaves the result and the
// caller's variable exactly as they were, and nothing alive.
TEST(ComDispatch, FailedAllocationChangesNothingOfTheCaller) {
  struct Call {
    const char* method;
    std::vector<VARIANT> (*args)(BSTR* variable);
  };
  const Call calls[] = {
      {"cChangeChars", [](BSTR* t) { return std::vector{Ref(VT_BSTR, t), Str(u"ab"), Str(u"xy")}; }},
      {"cFill", [](BSTR* t) { return std::vector{Ref(VT_BSTR, t), Str(u"12")}; }},
      {"cGetIn", [](BSTR* t) { return std::vector{Ref(VT_BSTR, t), Str(u"a"), Str(u"2")}; }},
      {"cArabicToRoman", [](BSTR*) { return std::vector{Str(u"1994")}; }},
      {"cRomanToArabic", [](BSTR* t) { return std::vector{Ref(VT_BSTR, t)}; }},
  };
  for (const Call& c : calls) {
    for (int64_t k = 1;; ++k) {
      BSTR variable = Wide(u"banana");
      const BSTR own = variable;
      int64_t allocations = 0;
      HRESULT hr;
      {
        Arguments a(c.args(&variable));
        const int64_t live = tk_test_live_bstrs();
        const int64_t made = tk_test_bstr_allocations();
        VARIANT result = Garbage();
        const VARIANT before = result;
        tk_test_fail_bstr(k, 0);
        hr = InvokeExport(Member(c.method), DISPATCH_METHOD, a.params(), &result, nullptr);
        tk_test_fail_bstr(0, 0);
        allocations = tk_test_bstr_allocations() - made;
        const std::string where = std::string(c.method) + ", failing BSTR " + std::to_string(k);
        if (hr == S_OK) {
          VariantClear(&result);
        } else {
          EXPECT_EQ(hr, E_OUTOFMEMORY) << where;
          EXPECT_TRUE(SameBits(result, before)) << where << ": the result was touched";
          EXPECT_EQ(variable, own) << where << ": the variable was replaced";
          EXPECT_EQ(Text(variable), u"banana") << where;
        }
        EXPECT_EQ(tk_test_live_bstrs(), live) << where << ": left alive";
      }
      SysFreeString(variable);
      if (hr == S_OK && k > allocations) break;
    }
  }
}

}  // namespace
