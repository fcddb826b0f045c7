// The class's registry entries as data, the journal through which a
// registration writes them, and the deletions of an unregistration for the
// state of the other width.
#include "com/registration_plan.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <initializer_list>
#include <iterator>
#include <span>
#include <string>

#include "class_ids.h"
#include "frame/size_math.h"

namespace twinekit::com {
namespace {

#define TK_CLASS_KEY L"CLSID\\" TK_COM_CLSID
#define TK_LIBRARY_KEY L"TypeLib\\" TK_COM_LIBID
#define TK_LIBRARY_VERSION_KEY TK_LIBRARY_KEY L"\\" TK_COM_LIBRARY_VERSION
#define TK_INTERFACE_KEY L"Interface\\" TK_COM_IID

constexpr const wchar_t* kClassKey = TK_CLASS_KEY;
constexpr const wchar_t* kServerKey = TK_CLASS_KEY L"\\InprocServer32";
// The marshaller of every dual interface described by a type library.
constexpr const wchar_t* kTypeLibraryMarshaller = L"{00020424-0000-0000-C000-000000000046}";

constexpr View Other(View view) { return view == View::k32 ? View::k64 : View::k32; }

// The type library's file for a width.
constexpr const wchar_t* LibraryFileKey(View view) {
  return view == View::k32 ? TK_LIBRARY_VERSION_KEY L"\\0\\win32"
                           : TK_LIBRARY_VERSION_KEY L"\\0\\win64";
}

enum class Data : uint8_t { kText, kModulePath, kModuleFolder };

struct Entry {
  const wchar_t* key;
  const wchar_t* name;  // null for the key's default value
  Data data;
  const wchar_t* text;  // of Data::kText
};

constexpr Entry Text(const wchar_t* key, const wchar_t* name, const wchar_t* text) {
  return {key, name, Data::kText, text};
}
constexpr Entry Path(const wchar_t* key) { return {key, nullptr, Data::kModulePath, nullptr}; }
constexpr Entry Folder(const wchar_t* key) {
  return {key, nullptr, Data::kModuleFolder, nullptr};
}

template <View kView>
constexpr Entry kEntries[] = {
    Text(kClassKey, nullptr, TK_COM_PROGID),
    Path(kServerKey),
    Text(kServerKey, L"ThreadingModel", L"Both"),
    Text(TK_CLASS_KEY L"\\ProgID", nullptr, TK_COM_PROGID_VERSIONED),
    Text(TK_CLASS_KEY L"\\VersionIndependentProgID", nullptr, TK_COM_PROGID),
    Text(TK_CLASS_KEY L"\\TypeLib", nullptr, TK_COM_LIBID),
    Text(TK_CLASS_KEY L"\\Version", nullptr, TK_COM_LIBRARY_VERSION),
    Text(TK_COM_PROGID, nullptr, TK_COM_PROGID),
    Text(TK_COM_PROGID L"\\CLSID", nullptr, TK_COM_CLSID),
    Text(TK_COM_PROGID L"\\CurVer", nullptr, TK_COM_PROGID_VERSIONED),
    Text(TK_COM_PROGID_VERSIONED, nullptr, TK_COM_PROGID),
    Text(TK_COM_PROGID_VERSIONED L"\\CLSID", nullptr, TK_COM_CLSID),
    Text(TK_LIBRARY_VERSION_KEY, nullptr, TK_COM_LIBRARY_TITLE),
    Path(LibraryFileKey(kView)),
    Text(TK_LIBRARY_VERSION_KEY L"\\FLAGS", nullptr, L"0"),
    Folder(TK_LIBRARY_VERSION_KEY L"\\HELPDIR"),
    Text(TK_INTERFACE_KEY, nullptr, TK_COM_INTERFACE_NAME),
    Text(TK_INTERFACE_KEY L"\\ProxyStubClsid", nullptr, kTypeLibraryMarshaller),
    Text(TK_INTERFACE_KEY L"\\ProxyStubClsid32", nullptr, kTypeLibraryMarshaller),
    Text(TK_INTERFACE_KEY L"\\TypeLib", nullptr, TK_COM_LIBID),
    Text(TK_INTERFACE_KEY L"\\TypeLib", L"Version", TK_COM_LIBRARY_VERSION),
};

std::span<const Entry> EntriesOf(View view) {
  if (view == View::k32) return kEntries<View::k32>;
  return kEntries<View::k64>;
}

// --- registering -------------------------------------------------------------

constexpr size_t kKeyCapacity = 128;

constexpr bool KeysFit() {
  for (const Entry& e : kEntries<View::k64>) {
    if (std::char_traits<wchar_t>::length(e.key) >= kKeyCapacity) return false;
  }
  return true;
}
static_assert(KeysFit(), "the journal copies the keys of the entries");

// The first length characters of a key, as a key of their own.
class KeyPrefix {
 public:
  KeyPrefix(const wchar_t* key, size_t length) {
    std::memcpy(text_, key, length * sizeof(wchar_t));
    text_[length] = 0;
  }
  const wchar_t* get() const { return text_; }

 private:
  wchar_t text_[kKeyCapacity];
};

// The length of the shortest key on the way to key, key itself included,
// that does not exist; 0 when key exists.
int32_t MissingFrom(Registry& registry, View view, const wchar_t* key, size_t* length) {
  *length = 0;
  const int32_t found = registry.FindKey(view, key);
  if (found != kRegNotFound) return found;
  const size_t n = std::wcslen(key);
  for (size_t end = 1; end <= n; ++end) {
    if (end < n && key[end] != L'\\') continue;
    const int32_t status = registry.FindKey(view, KeyPrefix(key, end).get());
    if (status != kRegOk) {
      if (status == kRegNotFound) *length = end;
      return status == kRegNotFound ? kRegOk : status;
    }
  }
  *length = n;
  return kRegOk;
}

bool SameText(const RegValue& value, const uint8_t* data, uint32_t size) {
  return value.type == kRegText && value.size == size && std::memcmp(value.data, data, size) == 0;
}

// What a registration wrote, for taking it back: the keys it made, the
// values it added, and the values it changed with what they held before.
class Journal {
 public:
  Journal(Registry& registry, View view) : registry_(registry), view_(view) {}
  ~Journal() {
    for (size_t i = 0; i < count_; ++i) std::free(records_[i].before.data);
  }
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  // Sets the value name of key to text, making the key if need be.
  HRESULT Write(const wchar_t* key, const wchar_t* name, const wchar_t* text) {
    const auto size = CheckedMulAdd(std::wcslen(text) + 1, sizeof(wchar_t), 0);
    if (!size) return E_OUTOFMEMORY;
    size_t made = 0;
    int32_t status = MissingFrom(registry_, view_, key, &made);
    if (status == kRegOk && made != 0) Add({Record::kMadeKey, key, made, nullptr, {}});
    if (status == kRegOk) status = registry_.CreateKey(view_, key);
    if (status != kRegOk) return HResultOfStatus(status);
    const auto* data = reinterpret_cast<const uint8_t*>(text);
    const uint32_t bytes = static_cast<uint32_t>(*size);
    RegValue before;
    status = registry_.ReadValue(view_, key, name, &before);
    if (status == kRegOk && SameText(before, data, bytes)) {
      std::free(before.data);
      return S_OK;
    }
    if (status == kRegOk) {
      Add({Record::kChangedValue, key, 0, name, before});
    } else if (status == kRegNotFound) {
      Add({Record::kAddedValue, key, 0, name, {}});
    } else {
      return HResultOfStatus(status);
    }
    return HResultOfStatus(registry_.SetValue(view_, key, name, kRegText, data, bytes));
  }

  // Undoes every write, the last first; what cannot be undone stays.
  void TakeBack() {
    while (count_ > 0) {
      Record& r = records_[--count_];
      switch (r.kind) {
        case Record::kMadeKey: registry_.DeleteTree(view_, KeyPrefix(r.key, r.made).get()); break;
        case Record::kAddedValue: registry_.DeleteValue(view_, r.key, r.name); break;
        case Record::kChangedValue:
          registry_.SetValue(view_, r.key, r.name, r.before.type, r.before.data, r.before.size);
          break;
      }
      std::free(r.before.data);
    }
  }

 private:
  struct Record {
    enum Kind : uint8_t { kMadeKey, kAddedValue, kChangedValue } kind;
    const wchar_t* key;
    size_t made;  // the length of the key made, of kMadeKey
    const wchar_t* name;
    RegValue before;  // of kChangedValue
  };
  // A key made and a value written for each entry at most.
  static constexpr size_t kCapacity = 2 * std::size(kEntries<View::k64>);

  void Add(const Record& record) { records_[count_++] = record; }

  Registry& registry_;
  View view_;
  Record records_[kCapacity];
  size_t count_ = 0;
};

// The module's folder: its path to the last backslash.
size_t FolderLength(const wchar_t* path) {
  const wchar_t* slash = std::wcsrchr(path, L'\\');
  return slash == nullptr ? 0 : static_cast<size_t>(slash - path);
}

// --- unregistering -----------------------------------------------------------

// The keys of the class, each with a key under it by which to tell whether
// the two views share it: the class key is each width's own where the
// views keep CLSID apart, and one for both where they do not (the user's
// classes under Wine); the rest are the two widths' in common.
#define TK_VIEW_PROBE L"\\TwineKit.ViewProbe"
struct SharedKey {
  const wchar_t* key;
  const wchar_t* probe;
};
constexpr SharedKey kKeysOfTheClass[] = {
    {TK_CLASS_KEY, TK_CLASS_KEY TK_VIEW_PROBE},
    {TK_COM_PROGID, TK_COM_PROGID TK_VIEW_PROBE},
    {TK_COM_PROGID_VERSIONED, TK_COM_PROGID_VERSIONED TK_VIEW_PROBE},
    {TK_LIBRARY_KEY, TK_LIBRARY_KEY TK_VIEW_PROBE},
    {TK_INTERFACE_KEY, TK_INTERFACE_KEY TK_VIEW_PROBE},
};

// Deletions that go on past a failure and report the first; a key that
// was not there is no failure.
class Deletions {
 public:
  explicit Deletions(Registry& registry) : registry_(registry) {}
  void Delete(View view, const wchar_t* key) { Note(registry_.DeleteTree(view, key)); }
  void Note(int32_t status) {
    if (first_failure_ == kRegOk && status != kRegOk && status != kRegNotFound) {
      first_failure_ = status;
    }
  }
  HRESULT result() const { return HResultOfStatus(first_failure_); }

 private:
  Registry& registry_;
  int32_t first_failure_ = kRegOk;
};

// Whether the views share a key: a key made under it in one view shows in
// the other.  The key must exist in the view own.
int32_t ViewsShare(Registry& registry, View own, const SharedKey& shared, bool* same) {
  int32_t status = registry.CreateKey(own, shared.probe);
  if (status != kRegOk) return status;
  const int32_t seen = registry.FindKey(Other(own), shared.probe);
  status = registry.DeleteTree(own, shared.probe);
  *same = seen == kRegOk;
  return seen == kRegOk || seen == kRegNotFound ? status : seen;
}

// A key in common while the other width is registered: it goes from this
// view only when it is this view's own and the other view has its own copy.
// (Under Wine a 64-bit program asking for the 32-bit view finds only the
// keys kept apart, not those that 32-bit programs share with it: a key
// that seems missing there may be the one they read.)
void DeleteOwnCopy(Registry& registry, View own, const SharedKey& shared, Deletions& deletions) {
  const int32_t found = registry.FindKey(own, shared.key);
  if (found != kRegOk) return deletions.Note(found);
  bool same = true;
  const int32_t status = ViewsShare(registry, own, shared, &same);
  deletions.Note(status);
  if (status != kRegOk || same) return;
  const int32_t copy = registry.FindKey(Other(own), shared.key);
  if (copy == kRegOk) deletions.Delete(own, shared.key);
  else deletions.Note(copy);
}

// Whether the other width's module is registered: its view holds the
// class's server, and the type library its width's file.  (Where the views
// share CLSID, the server alone could be this width's own.)
int32_t OtherWidthRegistered(Registry& registry, View own, bool* registered) {
  *registered = false;
  const View other = Other(own);
  if (!registry.HasView(other)) return kRegOk;
  for (const wchar_t* key : {kServerKey, LibraryFileKey(other)}) {
    const int32_t found = registry.FindKey(other, key);
    if (found != kRegOk) return found == kRegNotFound ? kRegOk : found;
  }
  *registered = true;
  return kRegOk;
}

}  // namespace

HRESULT RegisterStringsClass(Registry& registry, View own, const wchar_t* module_path) {
  const size_t folder_length = FolderLength(module_path);
  const auto folder_size = CheckedMulAdd(folder_length + 1, sizeof(wchar_t), 0);
  if (!folder_size) return E_OUTOFMEMORY;
  auto* folder = static_cast<wchar_t*>(std::malloc(*folder_size));
  if (folder == nullptr) return E_OUTOFMEMORY;
  std::memcpy(folder, module_path, folder_length * sizeof(wchar_t));
  folder[folder_length] = 0;

  Journal journal(registry, own);
  HRESULT hr = S_OK;
  for (const Entry& e : EntriesOf(own)) {
    const wchar_t* text = e.data == Data::kModulePath     ? module_path
                          : e.data == Data::kModuleFolder ? folder
                                                          : e.text;
    hr = journal.Write(e.key, e.name, text);
    if (hr != S_OK) {
      journal.TakeBack();
      break;
    }
  }
  std::free(folder);
  return hr;
}

HRESULT UnregisterStringsClass(Registry& registry, View own) {
  const View other = Other(own);
  bool other_registered = false;
  const int32_t status = OtherWidthRegistered(registry, own, &other_registered);
  if (status != kRegOk) return HResultOfStatus(status);

  Deletions deletions(registry);
  deletions.Delete(own, LibraryFileKey(own));
  for (const SharedKey& shared : kKeysOfTheClass) {
    if (other_registered) {
      DeleteOwnCopy(registry, own, shared, deletions);
    } else {
      deletions.Delete(own, shared.key);
      if (registry.HasView(other)) deletions.Delete(other, shared.key);
    }
  }
  return deletions.result();
}

}  // namespace twinekit::com
