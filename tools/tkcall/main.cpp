// tkcall: calls any TwineKit export by name with arguments typed on the
// command line and prints exactly what came back.
//
//   tkcall cGetIn 'a|b|c' '|' 2
//   tkcall cFill HELLO ab
//   tkcall cArabicToRoman i2:1994
//   tkcall --list
//   tkcall --check FILE...
//   tkcall --vbscript FILE...   (or --jscript)
//   tkcall --version
//
// The arguments are written in the syntax of tools/hostcall/values.h:
// strings with escapes (\xHH, \0, \t, \n, \r, \\), @null for a null BSTR,
// numbers decimal or 0x-hexadecimal, typed Variants.  --check runs files of
// case lines (case_line.h), such as the library's own tests/cases/*.cases,
// and reports every line the library does not answer as written.
// --vbscript and --jscript write the case lines of the files as a script
// that calls the COM object TwineKit.Strings (script_writer.h).
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "native_call.h"
#include "script_writer.h"
#include "twinekit_version.h"

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

void PrintString(const char* label, BSTR s) {
  if (s == nullptr) {
    std::printf("%s: null BSTR\n", label);
    return;
  }
  const std::string bytes = tkhost::BytesOf(s);
  std::printf("%s: %s (%zu byte%s)\n", label, tkhost::Quote(bytes).c_str(), bytes.size(),
              bytes.size() == 1 ? "" : "s");
}

int List() {
  for (const twinekit::ExportInfo& e : twinekit::kExports) {
    std::printf("%2d %-22.*s", e.ordinal, static_cast<int>(e.name.size()), e.name.data());
    for (size_t i = 0; i < e.args.size(); ++i) std::printf("%s%s", i ? ", " : "(", KindName(e.args[i]));
    std::printf(") -> %s\n", KindName(e.result));
  }
  return 0;
}

// Reads and parses each file; false, after saying why, when one cannot be
// read or has a line that does not parse.
bool ReadCaseFiles(int count, char** files, std::vector<tkcases::CaseFile>& out, int& bad_lines) {
  bad_lines = 0;
  for (int i = 0; i < count; ++i) {
    std::ifstream in(files[i], std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "tkcall: cannot read %s\n", files[i]);
      return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::vector<std::string> errors;
    out.push_back(tkcases::ParseCaseText(files[i], text.str(), errors));
    for (const std::string& e : errors) std::printf("%s\n", e.c_str());
    bad_lines += static_cast<int>(errors.size());
  }
  return true;
}

// Runs the case lines of each file; lines that need a fixed clock are
// skipped, since the shipped library reads the real one.
int Check(int count, char** files) {
  std::vector<tkcases::CaseFile> parsed;
  int failed = 0;
  if (!ReadCaseFiles(count, files, parsed, failed)) return 2;
  int passed = 0, skipped = 0;
  for (const tkcases::CaseFile& file : parsed) {
    for (const tkcases::Case& c : file.cases) {
      if (c.clock >= 0) {
        ++skipped;
        continue;
      }
      const std::string problem = tkcases::CheckOutcome(c, tkhost::RunCase(c));
      if (problem.empty()) {
        ++passed;
      } else {
        ++failed;
        std::printf("%s: %s: %s\n", c.where.c_str(), c.text.c_str(), problem.c_str());
      }
    }
  }
  std::printf("%d passed, %d failed, %d skipped\n", passed, failed, skipped);
  return failed == 0 ? 0 : 1;
}

int Script(tkcall::ScriptLanguage language, int count, char** files) {
  std::vector<tkcases::CaseFile> parsed;
  int bad_lines = 0;
  if (!ReadCaseFiles(count, files, parsed, bad_lines) || bad_lines > 0) return 2;
  std::fputs(tkcall::WriteScript(language, parsed).c_str(), stdout);
  return 0;
}

int Usage() {
  std::fprintf(stderr,
               "usage: tkcall EXPORT [ARG...]   call an export and print its result\n"
               "       tkcall --list            list the exports and their argument kinds\n"
               "       tkcall --check FILE...   run files of case lines (EXPORT ARG... => RESULT)\n"
               "       tkcall --vbscript FILE...  write them as a VBScript calling TwineKit.Strings\n"
               "       tkcall --jscript FILE...   the same in JScript\n"
               "       tkcall --version         print the version of TwineKit\n"
               "Strings take \\xHH \\0 \\t \\n \\r \\\\ escapes; @null is a null BSTR.\n"
               "Variants: empty, null, i2:N, i4:N, ui1:N, bool:true, r4:X, r8:X, date:X, cy:X, str:TEXT.\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  if (std::strcmp(argv[1], "--list") == 0) return List();
  if (std::strcmp(argv[1], "--check") == 0) return Check(argc - 2, argv + 2);
  if (std::strcmp(argv[1], "--vbscript") == 0) {
    return Script(tkcall::ScriptLanguage::kVbscript, argc - 2, argv + 2);
  }
  if (std::strcmp(argv[1], "--jscript") == 0) {
    return Script(tkcall::ScriptLanguage::kJscript, argc - 2, argv + 2);
  }
  if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("tkcall (TwineKit) %s\n", TWINEKIT_VERSION);
    return 0;
  }
  const twinekit::ExportInfo* info = twinekit::FindExport(argv[1]);
  if (info == nullptr) {
    std::fprintf(stderr, "tkcall: no export named %s (try --list)\n", argv[1]);
    return 2;
  }
  const size_t n = info->args.size();
  if (static_cast<size_t>(argc - 2) != n) {
    std::fprintf(stderr, "tkcall: %s takes %zu argument%s:", argv[1], n, n == 1 ? "" : "s");
    for (char k : info->args) std::fprintf(stderr, " [%s]", KindName(k));
    std::fprintf(stderr, "\n");
    return 2;
  }
  std::vector<tkhost::Value> values;
  for (size_t i = 0; i < n; ++i) {
    auto v = tkhost::ParseValue(info->args[i], argv[i + 2]);
    if (!v) {
      std::fprintf(stderr, "tkcall: argument %zu (%s) cannot be read from \"%s\"\n", i + 1,
                   KindName(info->args[i]), argv[i + 2]);
      return 2;
    }
    values.push_back(std::move(*v));
  }

  tkhost::HostCall call(*info, values);
  const tkhost::Returned r = call.Invoke();
  switch (info->result) {
    case 'S': PrintString("result", r.string); SysFreeString(r.string); break;
    case 'I': std::printf("result: %lld (Integer)\n", static_cast<long long>(r.number)); break;
    case 'L': std::printf("result: %lld (Long)\n", static_cast<long long>(r.number)); break;
    case 'X':
      std::printf("result: Variant of type %u holding %d\n", r.variant.vt, r.variant.lVal);
      break;
    default: std::printf("result: none\n"); break;
  }
  if (info->args.starts_with('W')) {
    const std::string after = call.Bytes(0);
    std::printf("argument after the call: %s (%zu byte%s)\n", tkhost::Quote(after).c_str(),
                after.size(), after.size() == 1 ? "" : "s");
  }
  return 0;
}
