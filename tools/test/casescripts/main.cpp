// casescripts: writes files of case lines as a script that a COM script
// host runs against TwineKit.Strings (script_writer.h), for the COM tests.
//
//   casescripts --vbscript FILE...       VBScript, for a host of a single-byte code page
//   casescripts --vbscript-932 FILE...   the same for a host of code page 932
//   casescripts --jscript FILE...        JScript, the ASCII lines
//
// The script goes to standard output; a line that does not parse goes to
// standard error, and nothing is written.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "script_writer.h"

namespace {

using casescripts::ScriptCodePage;
using casescripts::ScriptLanguage;

int Script(ScriptLanguage language, ScriptCodePage code_page, int count, char** files) {
  std::vector<tkcases::CaseFile> parsed;
  for (int i = 0; i < count; ++i) {
    std::ifstream in(files[i], std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "casescripts: cannot read %s\n", files[i]);
      return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::vector<std::string> errors;
    parsed.push_back(tkcases::ParseCaseText(files[i], text.str(), errors));
    for (const std::string& e : errors) std::fprintf(stderr, "%s\n", e.c_str());
    if (!errors.empty()) return 2;
  }
  std::fputs(casescripts::WriteScript(language, parsed, code_page).c_str(), stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view command = argc < 2 ? "" : argv[1];
  if (command == "--vbscript") return Script(ScriptLanguage::kVbscript, ScriptCodePage::kSingleByte, argc - 2, argv + 2);
  if (command == "--vbscript-932") return Script(ScriptLanguage::kVbscript, ScriptCodePage::k932, argc - 2, argv + 2);
  if (command == "--jscript") return Script(ScriptLanguage::kJscript, ScriptCodePage::kSingleByte, argc - 2, argv + 2);
  std::fprintf(stderr, "usage: casescripts --vbscript | --vbscript-932 | --jscript FILE...\n");
  return 2;
}
