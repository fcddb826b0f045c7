// The COM modules' registration (src/com/registration_plan.cpp) against a
// registry held in memory with the two views of a 64-bit system, the
// ProgIDs and TypeLib shared, and for the test's parameter: CLSID and
// Interface kept apart for 32-bit programs (Windows), the same as the
// machine's classes under Wine 8 (where a 64-bit program asking for the
// 32-bit view finds only what is kept apart), Interface shared, or both
// shared (the user's classes under Wine).  What is checked is what a program of each width
// finds there, and, after failures and after both widths are gone, that
// the registry is as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "class_ids.h"
#include "com/registration_plan.h"

namespace twinekit::com {
namespace {

constexpr HRESULT kAccessDenied = static_cast<HRESULT>(0x80070005u);

class FakeRegistry final : public Registry {
 public:
  struct Stored {
    uint32_t type;
    std::vector<uint8_t> data;
    bool operator==(const Stored&) const = default;
  };
  // Each key by its place in the one tree behind both views.
  using Keys = std::map<std::wstring, std::map<std::wstring, Stored>>;

  // The top keys that the 32-bit view keeps apart, under Wow6432Node.
  struct Layout {
    const char* name;
    bool class_apart;
    bool interface_apart;
    bool shared_unseen_by_64 = false;  // from 64-bit programs, in the 32-bit view
    friend void PrintTo(const Layout& layout, std::ostream* out) { *out << layout.name; }
  };

  explicit FakeRegistry(Layout layout) : layout_(layout) {
    for (const wchar_t* key : {L"CLSID", L"Interface", L"TypeLib", L"Wow6432Node",
                               L"Wow6432Node\\CLSID", L"Wow6432Node\\Interface"}) {
      keys[key];
    }
  }

  Keys keys;
  View caller = View::k64;  // the width of the program that calls
  int writes = 0;
  int denied_write = 0;       // the write denied, counting from 1; 0 for none
  bool deny_deletes = false;  // deleting any key or value is denied

  bool HasView(View) override { return true; }

  int32_t FindKey(View view, const wchar_t* key) override {
    return keys.count(Where(view, key)) != 0 ? kRegOk : kRegNotFound;
  }

  int32_t CreateKey(View view, const wchar_t* key) override {
    if (Denied()) return kRegAccessDenied;
    const std::wstring where = Where(view, key);
    for (size_t end = where.find(L'\\');; end = where.find(L'\\', end + 1)) {
      keys[where.substr(0, end)];
      if (end == std::wstring::npos) return kRegOk;
    }
  }

  int32_t ReadValue(View view, const wchar_t* key, const wchar_t* name, RegValue* value) override {
    const Stored* stored = Find(view, key, name);
    if (stored == nullptr) return kRegNotFound;
    const size_t size = stored->data.size();
    value->type = stored->type;
    value->size = static_cast<uint32_t>(size);
    value->data = static_cast<uint8_t*>(std::malloc(size + 1));
    if (size != 0) std::memcpy(value->data, stored->data.data(), size);
    return kRegOk;
  }

  int32_t SetValue(View view, const wchar_t* key, const wchar_t* name, uint32_t type,
                   const uint8_t* data, uint32_t size) override {
    if (Denied()) return kRegAccessDenied;
    const auto k = keys.find(Where(view, key));
    if (k == keys.end()) return kRegNotFound;
    k->second[Name(name)] = {type, std::vector<uint8_t>(data, data + size)};
    return kRegOk;
  }

  int32_t DeleteValue(View view, const wchar_t* key, const wchar_t* name) override {
    if (Denied() || deny_deletes) return kRegAccessDenied;
    const auto k = keys.find(Where(view, key));
    if (k == keys.end() || k->second.erase(Name(name)) == 0) return kRegNotFound;
    return kRegOk;
  }

  int32_t DeleteTree(View view, const wchar_t* key) override {
    const std::wstring where = Where(view, key);
    if (keys.count(where) == 0) return kRegNotFound;
    if (Denied() || deny_deletes) return kRegAccessDenied;
    std::erase_if(keys, [&](const auto& k) {
      return k.first == where || k.first.starts_with(where + L"\\");
    });
    return kRegOk;
  }

 private:
  // Where a view's key lives.
  std::wstring Where(View view, const wchar_t* key) const {
    const std::wstring k = key;
    const std::wstring top = k.substr(0, k.find(L'\\'));
    const bool apart = (top == L"CLSID" && layout_.class_apart) ||
                       (top == L"Interface" && layout_.interface_apart) ||
                       (layout_.shared_unseen_by_64 && caller == View::k64 && top != L"TypeLib");
    return view == View::k32 && apart ? L"Wow6432Node\\" + k : k;
  }
  static std::wstring Name(const wchar_t* name) { return name == nullptr ? L"" : name; }
  const Stored* Find(View view, const wchar_t* key, const wchar_t* name) const {
    const auto k = keys.find(Where(view, key));
    if (k == keys.end()) return nullptr;
    const auto v = k->second.find(Name(name));
    return v == k->second.end() ? nullptr : &v->second;
  }
  bool Denied() { return ++writes == denied_write; }

  Layout layout_;
};

constexpr View kViews[] = {View::k32, View::k64};
constexpr View Other(View view) { return view == View::k32 ? View::k64 : View::k32; }

// The two modules side by side, so that the folder the type library names
// is the same for both.
const wchar_t* PathOf(View view) {
  return view == View::k32 ? L"C:\\TwineKit\\TWINEKITCOM.DLL" : L"C:\\TwineKit\\TWINEKITCOM64.DLL";
}

std::wstring Text(FakeRegistry& registry, View view, const std::wstring& key,
                  const wchar_t* name = nullptr) {
  RegValue value;
  if (registry.ReadValue(view, key.c_str(), name, &value) != kRegOk) return L"(missing)";
  std::wstring text(reinterpret_cast<const wchar_t*>(value.data),
                    value.size / sizeof(wchar_t));
  std::free(value.data);
  return text.substr(0, text.find(L'\0'));
}

std::wstring LibraryFile(FakeRegistry& registry, View view, View width) {
  return Text(registry, view,
              L"TypeLib\\" TK_COM_LIBID L"\\" TK_COM_LIBRARY_VERSION L"\\0\\" +
                  std::wstring(width == View::k32 ? L"win32" : L"win64"));
}

// What a program of the view's width finds: the module that COM loads for
// the class, the class of the ProgID and of its current version, the type
// library's file for its width, and the type library of the interface.
void ExpectResolves(FakeRegistry& registry, View view, const wchar_t* path) {
  SCOPED_TRACE(view == View::k32 ? "32-bit view" : "64-bit view");
  registry.caller = view;
  EXPECT_EQ(Text(registry, view, L"CLSID\\" TK_COM_CLSID L"\\InprocServer32"), path);
  EXPECT_EQ(Text(registry, view, TK_COM_PROGID L"\\CLSID"), TK_COM_CLSID);
  const std::wstring current = Text(registry, view, TK_COM_PROGID L"\\CurVer");
  EXPECT_EQ(Text(registry, view, current + L"\\CLSID"), TK_COM_CLSID);
  EXPECT_EQ(LibraryFile(registry, view, view), path);
  EXPECT_EQ(Text(registry, view, L"Interface\\" TK_COM_IID L"\\TypeLib"), TK_COM_LIBID);
}

// A module's registration and unregistration, as its own program calls them.
HRESULT Register(FakeRegistry& registry, View view, const wchar_t* path = nullptr) {
  registry.caller = view;
  return RegisterStringsClass(registry, view, path == nullptr ? PathOf(view) : path);
}
HRESULT Unregister(FakeRegistry& registry, View view) {
  registry.caller = view;
  return UnregisterStringsClass(registry, view);
}

// Both widths' modules, the one given last.
void RegisterBoth(FakeRegistry& registry, View last = View::k64) {
  for (View view : {Other(last), last}) ASSERT_EQ(Register(registry, view), S_OK);
}

class ComRegistration : public testing::TestWithParam<FakeRegistry::Layout> {};

TEST_P(ComRegistration, EachWidthFindsItsOwnModule) {
  if (!GetParam().class_apart) GTEST_SKIP() << "one class key for both widths";
  FakeRegistry registry(GetParam());
  RegisterBoth(registry);
  for (View view : kViews) ExpectResolves(registry, view, PathOf(view));
}

// (Where the views share CLSID, the class names the module registered last:
// here the one that stays.)
TEST_P(ComRegistration, UnregisteringOneWidthLeavesTheOther) {
  for (View gone : kViews) {
    FakeRegistry registry(GetParam());
    const View kept = Other(gone);
    RegisterBoth(registry, kept);
    ASSERT_EQ(Unregister(registry, gone), S_OK);
    ExpectResolves(registry, kept, PathOf(kept));
    // What is left is what the other width alone registers.
    FakeRegistry alone(GetParam());
    ASSERT_EQ(Register(alone, kept), S_OK);
    EXPECT_EQ(registry.keys, alone.keys);
  }
}

TEST_P(ComRegistration, UnregisteringBothWidthsLeavesNothingOfTheClass) {
  for (View first : kViews) {
    FakeRegistry registry(GetParam());
    const FakeRegistry::Keys before = registry.keys;
    RegisterBoth(registry);
    EXPECT_EQ(Unregister(registry, first), S_OK);
    EXPECT_EQ(Unregister(registry, Other(first)), S_OK);
    EXPECT_EQ(registry.keys, before);
    // Nothing left to delete is no failure.
    EXPECT_EQ(Unregister(registry, first), S_OK);
  }
}

// A registration denied at its first write, its second, and so on to its
// last: each time it reports the denial and the registry is as it was,
// whatever was registered before.
TEST_P(ComRegistration, AFailedRegistrationLeavesTheRegistryAsItWas) {
  enum Before { kNothing, kSameWidthElsewhere, kOtherWidth, kBoth };
  for (Before state : {kNothing, kSameWidthElsewhere, kOtherWidth, kBoth}) {
    for (View view : kViews) {
      int denied = 0;
      for (int k = 1;; ++k) {
        SCOPED_TRACE(testing::Message() << "before " << state << ", width "
                                        << (view == View::k32 ? 32 : 64) << ", write " << k);
        FakeRegistry registry(GetParam());
        if (state == kSameWidthElsewhere || state == kBoth) {
          ASSERT_EQ(Register(registry, view, L"D:\\Old\\TWINEKITCOM.DLL"), S_OK);
        }
        if (state == kOtherWidth || state == kBoth) {
          ASSERT_EQ(Register(registry, Other(view)), S_OK);
        }
        const FakeRegistry::Keys before = registry.keys;
        registry.denied_write = registry.writes + k;
        const HRESULT hr = Register(registry, view);
        if (registry.writes < registry.denied_write) {
          EXPECT_EQ(hr, S_OK);
          ExpectResolves(registry, view, PathOf(view));
          break;
        }
        ++denied;
        EXPECT_EQ(hr, kAccessDenied);
        EXPECT_EQ(registry.keys, before);
      }
      EXPECT_GT(denied, 20);
    }
  }
}

TEST_P(ComRegistration, AFailedDeletionIsReported) {
  FakeRegistry registry(GetParam());
  const FakeRegistry::Keys before = registry.keys;
  ASSERT_EQ(Register(registry, View::k64), S_OK);
  registry.deny_deletes = true;
  EXPECT_EQ(Unregister(registry, View::k64), kAccessDenied);
  registry.deny_deletes = false;
  EXPECT_EQ(Unregister(registry, View::k64), S_OK);
  EXPECT_EQ(registry.keys, before);
}

INSTANTIATE_TEST_SUITE_P(Views, ComRegistration,
                         testing::Values(FakeRegistry::Layout{"ClassAndInterfaceApart", true, true},
                                         FakeRegistry::Layout{"MachineUnderWine8", true, true, true},
                                         FakeRegistry::Layout{"InterfaceShared", true, false},
                                         FakeRegistry::Layout{"AllShared", false, false}),
                         [](const testing::TestParamInfo<FakeRegistry::Layout>& param) {
                           return param.param.name;
                         });

}  // namespace
}  // namespace twinekit::com
