// tkcall: calls any TwineKit export by name with arguments typed on the
// command line and prints the call as a case line with what came back.
//
//   tkcall cGetIn 'a|b|c' '|' 2        prints  cGetIn 'a|b|c' '|' 2 => 'b'
//   tkcall cFill HELLO ab              prints  cFill 'HELLO' 'ab' => -1 after 'ababa'
//   tkcall --run [FILE...]             the same for each line (standard input without FILE)
//   tkcall --run --json [FILE...]      each call's outcome as a line of JSON, for programs
//   tkcall --check FILE...             checks files of case lines
//   tkcall --cases-json FILE...        writes each case line as a line of JSON, for programs
//   tkcall --list | --version | --help
//
// The arguments are written in the syntax of tools/casesyntax/values.h:
// strings with escapes (\xHH, \0, \t, \n, \r, \\, \'), @null for a null
// BSTR, numbers decimal or 0x-hexadecimal, typed Variants.  --check runs
// files of case lines (case_line.h), such as the library's own
// tests/cases/*.cases, and reports every line the library does not answer
// as written.
#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "host_call.h"
#include "json_writer.h"
#include "twinekit_version.h"

namespace {

using tkcall::JsonHex;
using tkcall::JsonText;

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

// A call's outcome as one line of JSON, which a program reads without the
// case syntax: {"name", "args" (each argument), "clock" (when the line
// fixes it), "result" (a string's bytes in hexadecimal, a number, or null
// for a null string or none), "after" (the in-place argument's bytes),
// "problems" (what the host would find wrong)}.
std::string JsonOutcome(const tkcases::Case& c, const tkcases::Outcome& seen) {
  std::string result = "null";
  switch (c.info->result) {
    case 'S': if (!seen.result_null) result = JsonHex(seen.bytes); break;
    case 'I': case 'L': case 'X': result = std::to_string(seen.number); break;
  }
  std::string out = "{\"name\": \"" + std::string(c.info->name) + "\", \"args\": [";
  for (size_t i = 0; i < c.args.size(); ++i) out += (i ? ", " : "") + tkcall::JsonValue(c.args[i]);
  out += "]";
  if (c.clock >= 0) out += ", \"clock\": " + std::to_string(c.clock);
  out += ", \"result\": " + result;
  if (!c.info->args.empty() && c.info->args[0] == 'W') out += ", \"after\": " + JsonHex(seen.after);
  out += ", \"problems\": [";
  bool first = true;
  for (const std::string* problem : {&seen.error, &seen.changed_argument}) {
    if (problem->empty()) continue;
    out += (first ? "" : ", ") + JsonText(*problem);
    first = false;
  }
  return out + "]}";
}

bool json_output = false;

// Prints c's call as a case line with what the library gave, and on a
// comment line below it anything the host would find wrong; or, with
// --json, its outcome as a line of JSON.
void RunAndPrint(const tkcases::Case& c) {
  const tkcases::Outcome seen = tkhost::RunCase(c, tkhost::CallTyped);
  if (json_output) {
    std::printf("%s\n", JsonOutcome(c, seen).c_str());
  } else {
    std::printf("%s\n", tkcases::CaseLine(c, seen).c_str());
    for (const std::string* problem : {&seen.error, &seen.changed_argument}) {
      if (!problem->empty()) std::printf("# %s\n", problem->c_str());
    }
  }
  std::fflush(stdout);
}

// Each file starts with the default separator the library has when it is
// loaded, "|", whatever an earlier file set.
void ResetDefaultSeparator() {
  BSTR bar = SysAllocStringByteLen("|", 1);
  cSetDefaultSeparator(&bar);
  SysFreeString(bar);
}

int List() {
  for (const twinekit::ExportInfo& e : twinekit::kExports) {
    std::printf("%2d %-22.*s", e.ordinal, static_cast<int>(e.name.size()), e.name.data());
    for (size_t i = 0; i < e.args.size(); ++i) std::printf("%s%s", i ? ", " : "(", KindName(e.args[i]));
    std::printf(") -> %s\n", KindName(e.result));
  }
  return 0;
}

// The text of a file, or empty with a message.
std::optional<std::string> ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "tkcall: cannot read %s\n", path);
    return std::nullopt;
  }
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs the case lines of each file; lines that need a fixed clock are
// skipped, since the shipped library reads the real one.
int Check(int count, char** files) {
  int passed = 0, failed = 0, skipped = 0;
  for (int i = 0; i < count; ++i) {
    const std::optional<std::string> text = ReadFile(files[i]);
    if (!text) return 2;
    ResetDefaultSeparator();
    std::vector<std::string> errors;
    const tkcases::CaseFile file = tkcases::ParseCaseText(files[i], *text, errors);
    for (const std::string& e : errors) std::printf("%s\n", e.c_str());
    failed += static_cast<int>(errors.size());
    for (const tkcases::Case& c : file.cases) {
      if (c.clock >= 0) {
        ++skipped;
        continue;
      }
      const std::string problem = tkhost::CheckCase(c, tkhost::CallTyped);
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

// Writes each case line of the files as a line of JSON (json_writer.h),
// for a runner that calls the exports some other way, such as through SQL.
int CasesJson(int count, char** files) {
  for (int i = 0; i < count; ++i) {
    const std::optional<std::string> text = ReadFile(files[i]);
    if (!text) return 2;
    std::vector<std::string> errors;
    const tkcases::CaseFile file = tkcases::ParseCaseText(files[i], *text, errors);
    for (const std::string& e : errors) std::fprintf(stderr, "%s\n", e.c_str());
    if (!errors.empty()) return 2;
    for (const tkcases::Case& c : file.cases) std::printf("%s\n", tkcall::JsonCase(c).c_str());
  }
  return 0;
}

// Runs the call of each line of the lines, one library for all, so that
// the default separator set on one line holds for the next.
bool RunLines(std::istream& in, const char* name) {
  bool ok = true;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
    tkcases::Case c;
    if (const std::string problem = tkcases::ParseCall(line, c); !problem.empty()) {
      const std::string where = std::string(name) + ":" + std::to_string(number) + ": " + problem;
      if (json_output) {
        std::printf("{\"name\": null, \"result\": null, \"problems\": [%s]}\n", JsonText(where).c_str());
      } else {
        std::printf("# %s\n", where.c_str());
      }
      std::fflush(stdout);
      ok = false;
      continue;
    }
    RunAndPrint(c);
  }
  return ok;
}

int Run(int count, char** files) {
  if (count > 0 && std::string_view(files[0]) == "--json") {
    json_output = true;
    --count;
    ++files;
  }
  if (count == 0) return RunLines(std::cin, "stdin") ? 0 : 1;
  bool ok = true;
  for (int i = 0; i < count; ++i) {
    const std::optional<std::string> text = ReadFile(files[i]);
    if (!text) return 2;
    std::istringstream in(*text);
    ResetDefaultSeparator();
    ok = RunLines(in, files[i]) && ok;
  }
  return ok ? 0 : 1;
}

int Usage(FILE* to) {
  std::fprintf(to,
               "usage: tkcall EXPORT [ARG...]   call an export; print the call and its result as a case line\n"
               "       tkcall --run [FILE...]   the same for the call on each line (standard input without FILE)\n"
               "       tkcall --run --json [FILE...]  each call's outcome as a line of JSON: name, result\n"
               "                                (a string's bytes in hexadecimal), after, problems\n"
               "       tkcall --check FILE...   run files of case lines (EXPORT ARG... => RESULT) and report\n"
               "                                every line the library answers otherwise\n"
               "       tkcall --cases-json FILE...  write each case line as a line of JSON: where, name,\n"
               "                                args, want, after, clock (bytes in hexadecimal)\n"
               "       tkcall --list            list the exports and their argument kinds\n"
               "       tkcall --version         print the version of TwineKit\n"
               "       tkcall --help            print this\n"
               "Strings: 'text' with the escapes \\xHH \\0 \\t \\n \\r \\\\ \\', built from pieces as\n"
               "'ab'+'\\0'*3 or '\\0'..'\\xFF'; a bare word is a string too; @null is a null BSTR.\n"
               "Numbers: decimal or 0x hexadecimal.  Variants: empty, null, i2:N, i4:N, ui1:N,\n"
               "bool:true, r4:X, r8:X, date:X, cy:X, str:'TEXT'.\n"
               "In a shell, put an argument built from pieces or holding \\' in double quotes:\n"
               "  tkcall cCreateAndFill 6 \"'ab'+'c'\"\n"
               "Each tkcall loads the library afresh: cSetDefaultSeparator holds for the rest of one\n"
               "--run or --check file only.\n");
  return to == stdout ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage(stderr);
  const std::string_view command = argv[1];
  if (command == "--help" || command == "-h") return Usage(stdout);
  if (command == "--list") return List();
  if (command == "--check") return Check(argc - 2, argv + 2);
  if (command == "--run") return Run(argc - 2, argv + 2);
  if (command == "--cases-json") return CasesJson(argc - 2, argv + 2);
  if (command == "--version") {
    std::printf("tkcall (TwineKit) %s\n", TWINEKIT_VERSION);
    return 0;
  }
  tkcases::Case c;
  c.info = twinekit::FindExport(command);
  if (c.info == nullptr) {
    std::fprintf(stderr, "tkcall: no export named %s (try --list)\n", argv[1]);
    return 2;
  }
  const std::string_view kinds = c.info->args;
  if (static_cast<size_t>(argc - 2) != kinds.size()) {
    std::fprintf(stderr, "tkcall: %s takes %zu argument%s:", argv[1], kinds.size(),
                 kinds.size() == 1 ? "" : "s");
    for (char k : kinds) std::fprintf(stderr, " [%s]", KindName(k));
    std::fprintf(stderr, "\n");
    return 2;
  }
  for (size_t i = 0; i < kinds.size(); ++i) {
    auto v = tkhost::ParseValue(kinds[i], argv[i + 2]);
    if (!v) {
      std::fprintf(stderr, "tkcall: argument %zu (%s) cannot be read from \"%s\"\n", i + 1,
                   KindName(kinds[i]), argv[i + 2]);
      return 2;
    }
    c.args.push_back(std::move(*v));
  }
  RunAndPrint(c);
  return 0;
}
