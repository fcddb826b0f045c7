// tkcall: calls any TwineKit export by name with arguments typed on the
// command line and prints exactly what came back.
//
//   tkcall cGetIn 'a|b|c' '|' 2
//   tkcall cFill HELLO ab
//   tkcall cArabicToRoman i2:1994
//   tkcall --list
//
// Strings take escapes (\xHH, \0, \t, \n, \r, \\); @null passes a null
// BSTR.  Longs and Integers are decimal or 0x-hexadecimal.  Variants are
// typed: empty, null, i2:N, i4:N, ui1:N, bool:true|false, r4:X, r8:X,
// date:X, cy:X (Currency), str:TEXT; a bare number is a Long, or a Double
// when it has a fraction.
#include <dlfcn.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "exports/export_table.h"
#include "frame/platform.h"
#include "support/signature_call.h"

namespace {

const char* KindName(char kind) {
  switch (kind) {
    case 'R': return "String (ByRef)";
    case 'W': return "String (ByRef, changed in place)";
    case 'V': return "String (ByVal)";
    case 'L': return "Long";
    case 'I': return "Integer";
    case 'X': return "Variant (ByRef)";
    case 'S': return "String";
    case 'N': return "nothing";
  }
  return "?";
}

std::string Escape(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c >= 0x20 && c < 0x7F) {
      out.push_back(static_cast<char>(c));
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

bool Unescape(const char* text, std::string* out) {
  for (const char* p = text; *p; ++p) {
    if (*p != '\\') {
      out->push_back(*p);
      continue;
    }
    ++p;
    switch (*p) {
      case '0': out->push_back('\0'); break;
      case 't': out->push_back('\t'); break;
      case 'n': out->push_back('\n'); break;
      case 'r': out->push_back('\r'); break;
      case '\\': out->push_back('\\'); break;
      case 'x': {
        char hex[3] = {p[1], p[1] ? p[2] : '\0', '\0'};
        char* end = nullptr;
        const long v = std::strtol(hex, &end, 16);
        if (end != hex + 2) return false;
        out->push_back(static_cast<char>(v));
        p += 2;
        break;
      }
      default: return false;
    }
  }
  return true;
}

bool ParseInteger(const char* text, int64_t* value) {
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(text, &end, 0);
  if (errno != 0 || end == text || *end != '\0') return false;
  *value = v;
  return true;
}

bool ParseReal(const char* text, double* value) {
  char* end = nullptr;
  *value = std::strtod(text, &end);
  return end != text && *end == '\0';
}

BSTR MakeString(const std::string& bytes) {
  return SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size()));
}

bool ParseVariant(const char* text, VARIANT* v) {
  VariantInit(v);
  const std::string s(text);
  const size_t colon = s.find(':');
  const std::string type = s.substr(0, colon);
  const char* value = colon == std::string::npos ? "" : text + colon + 1;
  int64_t i = 0;
  double d = 0;
  if (s == "empty") return true;
  if (s == "null") { v->vt = VT_NULL; return true; }
  if (type == "i2" && ParseInteger(value, &i)) { v->vt = VT_I2; v->iVal = static_cast<int16_t>(i); return true; }
  if (type == "i4" && ParseInteger(value, &i)) { v->vt = VT_I4; v->lVal = static_cast<int32_t>(i); return true; }
  if (type == "ui1" && ParseInteger(value, &i)) { v->vt = VT_UI1; v->bVal = static_cast<uint8_t>(i); return true; }
  if (type == "bool") { v->vt = VT_BOOL; v->boolVal = std::strcmp(value, "true") == 0 ? -1 : 0; return true; }
  if (type == "r4" && ParseReal(value, &d)) { v->vt = VT_R4; v->fltVal = static_cast<float>(d); return true; }
  if (type == "r8" && ParseReal(value, &d)) { v->vt = VT_R8; v->dblVal = d; return true; }
  if (type == "date" && ParseReal(value, &d)) { v->vt = VT_DATE; v->date = d; return true; }
  if (type == "cy" && ParseReal(value, &d)) { v->vt = VT_CY; v->cyVal = std::llround(d * 10000); return true; }
  if (type == "str") {
    std::string bytes;
    if (!Unescape(value, &bytes)) return false;
    std::vector<OLECHAR> wide(bytes.begin(), bytes.end());
    v->vt = VT_BSTR;
    v->bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return true;
  }
  if (ParseInteger(text, &i)) { v->vt = VT_I4; v->lVal = static_cast<int32_t>(i); return true; }
  if (ParseReal(text, &d)) { v->vt = VT_R8; v->dblVal = d; return true; }
  return false;
}

std::string BytesOf(BSTR s) {
  return s == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(s), SysStringByteLen(s));
}

void PrintString(const char* label, BSTR s) {
  if (s == nullptr) {
    std::printf("%s: null BSTR\n", label);
    return;
  }
  const std::string bytes = BytesOf(s);
  std::printf("%s: '%s' (%zu byte%s)\n", label, Escape(bytes).c_str(), bytes.size(),
              bytes.size() == 1 ? "" : "s");
}

int List() {
  for (const twinekit::ExportInfo& e : twinekit::kExports) {
    const bool present = dlsym(RTLD_DEFAULT, std::string(e.name).c_str()) != nullptr;
    std::printf("%2d %-22.*s", e.ordinal, static_cast<int>(e.name.size()), e.name.data());
    for (size_t i = 0; i < e.args.size(); ++i) std::printf("%s%s", i ? ", " : "(", KindName(e.args[i]));
    std::printf("%s -> %s%s\n", e.args.empty() ? "()" : ")", KindName(e.result),
                present ? "" : "   [not in this build]");
  }
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: tkcall EXPORT [ARG...]   call an export and print its result\n"
               "       tkcall --list            list the exports and their argument kinds\n"
               "Strings take \\xHH \\0 \\t \\n \\r \\\\ escapes; @null is a null BSTR.\n"
               "Variants: empty, null, i2:N, i4:N, ui1:N, bool:true, r4:X, r8:X, date:X, cy:X, str:TEXT.\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  if (std::strcmp(argv[1], "--list") == 0) return List();
  const twinekit::ExportInfo* info = twinekit::FindExport(argv[1]);
  if (info == nullptr) {
    std::fprintf(stderr, "tkcall: no export named %s (try --list)\n", argv[1]);
    return 2;
  }
  void* fn = dlsym(RTLD_DEFAULT, argv[1]);
  const tksupport::Caller call = tksupport::FindCaller(info->args, info->result);
  if (fn == nullptr || call == nullptr) {
    std::fprintf(stderr, "tkcall: %s is not in this build of the library\n", argv[1]);
    return 2;
  }
  const size_t n = info->args.size();
  if (static_cast<size_t>(argc - 2) != n) {
    std::fprintf(stderr, "tkcall: %s takes %zu argument%s:", argv[1], n, n == 1 ? "" : "s");
    for (char k : info->args) std::fprintf(stderr, " [%s]", KindName(k));
    std::fprintf(stderr, "\n");
    return 2;
  }

  std::vector<BSTR> strings(n, nullptr), variables(n, nullptr);
  std::vector<VARIANT> variants(n);
  std::vector<tksupport::Slot> slots(n);
  for (size_t i = 0; i < n; ++i) {
    const char* text = argv[i + 2];
    const char kind = info->args[i];
    bool ok = true;
    int64_t number = 0;
    std::string bytes;
    if (kind == 'R' || kind == 'W' || kind == 'V') {
      if (std::strcmp(text, "@null") != 0) {
        ok = Unescape(text, &bytes);
        strings[i] = MakeString(bytes);
      }
      variables[i] = strings[i];
      slots[i].ref = &variables[i];
      slots[i].value = strings[i];
    } else if (kind == 'L' || kind == 'I') {
      ok = ParseInteger(text, &number);
      slots[i].number = static_cast<int32_t>(number);
    } else {
      ok = ParseVariant(text, &variants[i]);
      slots[i].variant = &variants[i];
    }
    if (!ok) {
      std::fprintf(stderr, "tkcall: argument %zu (%s) cannot be read from \"%s\"\n", i + 1,
                   KindName(kind), text);
      return 2;
    }
  }

  const tksupport::Returned r = call(fn, slots.data());
  switch (info->result) {
    case 'S': PrintString("result", r.string); SysFreeString(r.string); break;
    case 'I': std::printf("result: %lld (Integer)\n", static_cast<long long>(r.number)); break;
    case 'L': std::printf("result: %lld (Long)\n", static_cast<long long>(r.number)); break;
    case 'X':
      std::printf("result: Variant of type %u holding %d\n", r.variant.vt, r.variant.lVal);
      break;
    default: std::printf("result: none\n"); break;
  }
  for (size_t i = 0; i < n; ++i) {
    if (info->args[i] == 'W') PrintString("argument after the call", variables[i]);
    SysFreeString(strings[i]);
    if (info->args[i] == 'X') VariantClear(&variants[i]);
  }
  return 0;
}
