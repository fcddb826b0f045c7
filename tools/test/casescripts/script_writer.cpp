#include "script_writer.h"

#include <cinttypes>
#include <cstdio>
#include <optional>
#include <set>

namespace casescripts {
namespace {

using tkhost::Value;
using tkhost::VariantValue;

constexpr size_t kRun = 16;  // a character repeated this often is written as a repetition

bool Printable(int c) { return c >= 0x20 && c < 0x7F; }

std::string Number(int64_t n) { return std::to_string(n); }

std::string Real(double x) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", x);
  return text;
}

// Code page 932's two-byte characters: a lead byte, then a trail byte.
bool Lead932(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool Trail932(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// The characters of bytes in the code page, each as its code: a byte, or a
// lead byte times 256 plus its trail byte, as VBScript's Chr takes a
// character of code page 932 and Asc gives it back.  Nothing when a lead
// byte has no trail byte after it: such bytes are no whole characters, and
// the system turns them into other bytes on their way.
std::optional<std::vector<int>> Characters(std::string_view bytes, ScriptCodePage code_page) {
  std::vector<int> out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (code_page == ScriptCodePage::k932 && Lead932(b)) {
      if (i + 1 == bytes.size() || !Trail932(static_cast<unsigned char>(bytes[i + 1]))) return std::nullopt;
      out.push_back(b * 256 + static_cast<unsigned char>(bytes[++i]));
    } else {
      out.push_back(b);
    }
  }
  return out;
}

// How often the character at i repeats from there.
size_t RunAt(const std::vector<int>& codes, size_t i) {
  size_t run = 1;
  while (i + run < codes.size() && codes[i + run] == codes[i]) ++run;
  return run;
}

// Bytes as a string expression of the language.  In VBScript, Chr makes a
// character of the code page from its code; in JScript, only ASCII is
// written.  A Variant's text (wide) is UTF-16, each byte one character of
// that value: below 0x80 Chr makes the same character in every code page,
// and above it only ChrW would, which Wine's VBScript lacks (error 445), so
// such a line is left out (Writable says which).
class StringWriter {
 public:
  StringWriter(ScriptLanguage language, bool wide, ScriptCodePage code_page = ScriptCodePage::kSingleByte)
      : language_(language), wide_(wide), code_page_(wide ? ScriptCodePage::kSingleByte : code_page) {}

  // False when the bytes need a character the language cannot write here.
  bool Writable(std::string_view bytes) const {
    if (!Characters(bytes, code_page_)) return false;
    if (!wide_ || language_ != ScriptLanguage::kVbscript) return true;
    for (char c : bytes) {
      if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
  }

  // The codes of the characters above ASCII, which the script checks the
  // code page for before it runs the line.
  void NoteHigh(std::string_view bytes, std::set<int>& out) const {
    const std::optional<std::vector<int>> codes = Characters(bytes, code_page_);
    for (int c : codes.value_or(std::vector<int>())) {
      if (c >= 0x80) out.insert(c);
    }
  }

  // bytes must be Writable.
  std::string operator()(std::string_view bytes) const {
    const std::vector<int> codes = Characters(bytes, code_page_).value_or(std::vector<int>());
    const bool vbs = language_ == ScriptLanguage::kVbscript;
    std::string out;
    for (size_t i = 0; i < codes.size();) {
      const size_t run = RunAt(codes, i);
      if (run >= kRun) {
        Join(out, Repeated(One(codes[i]), run));
        i += run;
        continue;
      }
      if (!Printable(codes[i]) && vbs) {
        Join(out, One(codes[i]));
        ++i;
        continue;
      }
      std::string quoted;
      for (; i < codes.size() && RunAt(codes, i) < kRun && (Printable(codes[i]) || !vbs); ++i) {
        quoted += Escaped(codes[i]);
      }
      Join(out, "\"" + quoted + "\"");
    }
    return out.empty() ? "\"\"" : out;
  }

 private:
  std::string Escaped(int c) const {
    if (language_ == ScriptLanguage::kVbscript) return c == '"' ? "\"\"" : std::string(1, static_cast<char>(c));
    if (c == '"' || c == '\\') return std::string("\\") + static_cast<char>(c);
    if (Printable(c)) return std::string(1, static_cast<char>(c));
    char text[8];
    std::snprintf(text, sizeof text, "\\x%02X", c);
    return text;
  }

  std::string One(int c) const {
    if (language_ == ScriptLanguage::kJscript) return "\"" + Escaped(c) + "\"";
    if (Printable(c)) return "\"" + Escaped(c) + "\"";
    return "Chr(" + Number(c) + ")";
  }

  std::string Repeated(const std::string& one, size_t n) const {
    if (language_ == ScriptLanguage::kJscript) return "rep(" + one + ", " + Number(static_cast<int64_t>(n)) + ")";
    return "String(" + Number(static_cast<int64_t>(n)) + ", " + one + ")";
  }

  void Join(std::string& out, const std::string& piece) const {
    if (!out.empty()) out += language_ == ScriptLanguage::kVbscript ? " & " : " + ";
    out += piece;
  }

  ScriptLanguage language_;
  bool wide_;
  ScriptCodePage code_page_;
};

bool Fits(int64_t n, int64_t low, int64_t high) { return n >= low && n <= high; }

// A Variant argument as an expression, or nothing when the language cannot
// make it.
std::optional<std::string> VariantExpression(ScriptLanguage language, const VariantValue& v) {
  const bool vbs = language == ScriptLanguage::kVbscript;
  const StringWriter text(language, true);
  switch (v.vt) {
    case tkhost::kVtEmpty: return vbs ? "Empty" : "undefined";
    case tkhost::kVtNull: return vbs ? "Null" : "null";
    case tkhost::kVtBool: return vbs ? (v.integer ? "True" : "False") : (v.integer ? "true" : "false");
    case tkhost::kVtI4:
      if (!Fits(v.integer, INT32_MIN, INT32_MAX)) return std::nullopt;
      return vbs ? "CLng(" + Number(v.integer) + ")" : Number(v.integer);
    case tkhost::kVtR8: return vbs ? "CDbl(" + Real(v.real) + ")" : Real(v.real);
    case tkhost::kVtBstr:
      for (char c : v.text) {
        if (!vbs && static_cast<unsigned char>(c) >= 0x80) return std::nullopt;
      }
      if (!text.Writable(v.text)) return std::nullopt;
      return text(v.text);
  }
  if (!vbs) return std::nullopt;
  switch (v.vt) {
    case tkhost::kVtI2:
      if (!Fits(v.integer, INT16_MIN, INT16_MAX)) return std::nullopt;
      return "CInt(" + Number(v.integer) + ")";
    case tkhost::kVtUi1:
      if (!Fits(v.integer, 0, 255)) return std::nullopt;
      return "CByte(" + Number(v.integer) + ")";
    case tkhost::kVtR4: return "CSng(" + Real(v.real) + ")";
    case tkhost::kVtDate: return "CDate(" + Real(v.real) + ")";
    case tkhost::kVtCy: {
      // Currency is exact: the whole part and the ten-thousandths apart.
      const int64_t whole = v.integer / 10000, part = v.integer % 10000;
      return "(CCur(" + Number(whole) + ") + CCur(" + Number(part) + ") / 10000)";
    }
  }
  return std::nullopt;
}

// One case line as the pieces of a call in the language.
struct Call {
  std::vector<std::string> setup;      // statements before the call
  std::vector<std::string> arguments;  // the argument expressions
  std::set<int> high_bytes;            // characters of 0x80 and above in its strings
  std::string want;                    // the result expression
  std::string after;                   // the in-place argument's expression, if any
};

// The call of a case line, or nothing when the language cannot make it;
// split says when that is because its bytes are no whole characters of the
// code page.
std::optional<Call> MakeCall(ScriptLanguage language, ScriptCodePage code_page, const tkcases::Case& c,
                             bool& split) {
  split = false;
  if (c.clock >= 0) return std::nullopt;
  const bool vbs = language == ScriptLanguage::kVbscript;
  const StringWriter bytes(language, false, code_page);
  const auto whole = [&](std::string_view text) {
    split = split || !bytes.Writable(text);
    return !split;
  };
  if (c.info->result == 'S' && !whole(c.want.bytes)) return std::nullopt;
  if (c.after && vbs && !whole(*c.after)) return std::nullopt;
  for (const Value& v : c.args) {
    if (v.tag == Value::kBytes && !whole(v.bytes)) return std::nullopt;
  }
  Call call;
  for (size_t i = 0; i < c.args.size(); ++i) {
    const Value& v = c.args[i];
    const char kind = c.info->args[i];
    std::string expression;
    switch (kind) {
      case 'R':
      case 'W':
      case 'V':
        if (v.tag == Value::kNull) {
          expression = vbs ? "Empty" : "undefined";
        } else {
          bytes.NoteHigh(v.bytes, call.high_bytes);
          expression = bytes(v.bytes);
        }
        break;
      case 'L': expression = Number(static_cast<int32_t>(v.number)); break;
      case 'I':
        if (!Fits(v.number, INT16_MIN, INT16_MAX)) return std::nullopt;
        expression = Number(v.number);
        break;
      case 'X': {
        auto e = VariantExpression(language, v.variant);
        if (!e) return std::nullopt;
        expression = *e;
        break;
      }
    }
    // Strings by reference go in variables, which VBScript passes by
    // reference.
    if (vbs && (kind == 'R' || kind == 'W')) {
      const std::string name = "a" + Number(static_cast<int64_t>(i + 1));
      call.setup.push_back(name + " = " + expression);
      expression = name;
    }
    call.arguments.push_back(expression);
  }
  switch (c.info->result) {
    case 'S':
      bytes.NoteHigh(c.want.bytes, call.high_bytes);
      call.want = bytes(c.want.bytes);
      break;
    case 'I':
    case 'L': call.want = Number(c.want.number); break;
    case 'X': call.want = Number(c.want.variant.integer); break;
  }
  if (c.after && vbs) {
    bytes.NoteHigh(*c.after, call.high_bytes);
    call.after = bytes(*c.after);
  }
  if (!vbs && !call.high_bytes.empty()) return std::nullopt;
  return call;
}

std::string Joined(const std::vector<std::string>& items, const char* separator) {
  std::string out;
  for (const std::string& s : items) out += (out.empty() ? "" : separator) + s;
  return out;
}

const char* kVbscriptHead = R"script(' The behaviour cases, each line one call of TwineKit.Strings, written by
' casescripts --vbscript.  Run: cscript //nologo FILE LABEL
Option Explicit
On Error Resume Next
Dim o, r, e, a1, a2, a3, a4, Passed, Failed, LeftOut, Label
Label = WScript.Arguments(0)
Passed = 0 : Failed = 0 : LeftOut = 0
Set o = CreateObject("TwineKit.Strings")
If Err.Number <> 0 Then
  WScript.Echo Label & ": TwineKit.Strings cannot be made: error " & Err.Number & " " & Err.Description
  WScript.Quit 1
End If

' True when each character comes back from the code page as itself: Chr
' makes it from its code (a byte, or on a double-byte code page a lead byte
' times 256 plus a trail byte), Asc gives the code back (a negative Integer
' for two bytes).  False too when Chr refuses the code.
Function Keeps(codes)
  Dim c
  On Error Resume Next
  Keeps = False
  For Each c In codes
    If (Asc(Chr(c)) And 65535) <> c Then Exit Function
  Next
  Keeps = Err.Number = 0
End Function

Function Show(v)
  Dim i, c
  If VarType(v) <> vbString Then
    Show = TypeName(v)
    If VarType(v) > vbNull And VarType(v) < vbObject Then Show = Show & " " & CStr(v)
    Exit Function
  End If
  Show = "'"
  For i = 1 To Len(v)
    c = Asc(Mid(v, i, 1)) And 65535
    If c >= 32 And c < 127 Then
      Show = Show & Chr(c)
    ElseIf c < 256 Then
      Show = Show & "\x" & Right("0" & Hex(c), 2)
    Else
      Show = Show & "\x{" & Hex(c) & "}"
    End If
    If i = 200 Then Show = Show & "..." : Exit For
  Next
  Show = Show & "' (" & Len(v) & " characters)"
End Function

Function ProblemS(e, r, want)
  ProblemS = ""
  If e <> 0 Then
    ProblemS = "error " & e
  ElseIf VarType(r) <> vbString Then
    ProblemS = Show(r) & ", want a String"
  ElseIf r <> want Then
    ProblemS = Show(r) & ", want " & Show(want)
  End If
End Function

Function ProblemN(e, r, vt, want)
  ProblemN = ""
  If e <> 0 Then
    ProblemN = "error " & e
  ElseIf VarType(r) <> vt Then
    ProblemN = Show(r) & ", want a number of type " & vt
  ElseIf r <> want Then
    ProblemN = Show(r) & ", want " & want
  End If
End Function

Function ProblemNone(e)
  ProblemNone = ""
  If e <> 0 Then ProblemNone = "error " & e
End Function

' A variable that held Empty (a null string) keeps it: the object writes
' back only a text that the call changed.
Function ProblemAfter(v, want)
  ProblemAfter = ""
  If VarType(v) = vbEmpty And want = "" Then
  ElseIf VarType(v) <> vbString Then
    ProblemAfter = "; the argument after the call: " & Show(v)
  ElseIf v <> want Then
    ProblemAfter = "; the argument after the call: " & Show(v) & ", want " & Show(want)
  End If
End Function

Sub Tally(where, problem)
  If problem = "" Then
    Passed = Passed + 1
  Else
    Failed = Failed + 1
    WScript.Echo where & ": " & problem
  End If
End Sub
)script";

const char* kJscriptHead = R"script(// The behaviour cases in ASCII, each line one call of TwineKit.Strings,
// written by casescripts --jscript.  Run: cscript //nologo FILE LABEL
var label = WScript.Arguments(0), passed = 0, failed = 0, r, o;
try {
  o = new ActiveXObject("TwineKit.Strings");
} catch (x) {
  WScript.Echo(label + ": TwineKit.Strings cannot be made: " + x.message);
  WScript.Quit(1);
}

function rep(s, n) {
  var out = "";
  for (; n > 0; n >>= 1, s += s) if (n & 1) out += s;
  return out;
}

function show(v) {
  if (typeof v != "string") return typeof v + " " + v;
  var out = "'";
  for (var i = 0; i < v.length && i < 200; ++i) {
    var c = v.charCodeAt(i);
    out += c >= 32 && c < 127 ? v.charAt(i) : "\\x" + (c < 16 ? "0" : "") + c.toString(16);
  }
  return out + "' (" + v.length + " characters)";
}

function problemS(r, want) {
  if (typeof r != "string") return show(r) + ", want a string";
  return r === want ? "" : show(r) + ", want " + show(want);
}

function problemN(r, want) {
  if (typeof r != "number") return show(r) + ", want a number";
  return r === want ? "" : r + ", want " + want;
}

function tally(where, problem) {
  if (problem == "") {
    ++passed;
  } else {
    ++failed;
    WScript.Echo(where + ": " + problem);
  }
}

function fail(where, x) {
  tally(where, "error " + (x.number & 0xFFFF) + " " + x.message);
}
)script";

// Where a line is, its file named without its folder.
std::string Where(const tkcases::Case& c) {
  const size_t slash = c.where.find_last_of("/\\");
  return "\"" + (slash == std::string::npos ? c.where : c.where.substr(slash + 1)) + "\"";
}

std::string VbscriptCase(const tkcases::Case& c, const Call& call) {
  const std::string where = Where(c);
  const std::string method = "o." + std::string(c.info->name) + "(" + Joined(call.arguments, ", ") + ")";
  std::string out = "' " + c.text + "\n";
  std::string body;
  if (!call.setup.empty()) body += Joined(call.setup, " : ") + "\n";
  std::string problem;
  switch (c.info->result) {
    case 'S':
      body += "Err.Clear : r = Empty : r = " + method + " : e = Err.Number\n";
      problem = "ProblemS(e, r, " + call.want + ")";
      break;
    case 'I':
    case 'L':
    case 'X':
      body += "Err.Clear : r = Empty : r = " + method + " : e = Err.Number\n";
      problem = "ProblemN(e, r, " + std::string(c.info->result == 'I' ? "vbInteger" : "vbLong") +
                ", " + call.want + ")";
      break;
    default:
      body += "Err.Clear : Call " + method + " : e = Err.Number\n";
      problem = "ProblemNone(e)";
      break;
  }
  if (!call.after.empty()) problem += " & ProblemAfter(a1, " + call.after + ")";
  body += "Tally " + where + ", " + problem + "\n";
  if (call.high_bytes.empty()) return out + body;
  std::vector<std::string> list;
  for (int b : call.high_bytes) list.push_back(Number(b));
  return out + "If Keeps(Array(" + Joined(list, ", ") + ")) Then\n" + body +
         "Else\nLeftOut = LeftOut + 1\nEnd If\n";
}

std::string JscriptCase(const tkcases::Case& c, const Call& call) {
  const std::string where = Where(c);
  const std::string method = "o." + std::string(c.info->name) + "(" + Joined(call.arguments, ", ") + ")";
  std::string check;
  switch (c.info->result) {
    case 'S': check = "tally(" + where + ", problemS(" + method + ", " + call.want + "));"; break;
    case 'N': check = method + "; tally(" + where + ", \"\");"; break;
    default: check = "tally(" + where + ", problemN(" + method + ", " + call.want + "));"; break;
  }
  return "try { " + check + " } catch (x) { fail(" + where + ", x); }\n";
}

}  // namespace

// The script written for code page 932 first checks that it runs under it.
const char* kVbscript932Check = R"script(
' Written for code page 932: the character Chr(33440) is the lead byte 0x82
' and the trail byte 0xA0.
If Not Keeps(Array(33440)) Then
  WScript.Echo Label & ": the ANSI code page is not 932"
  Failed = Failed + 1
End If
)script";

std::string WriteScript(ScriptLanguage language, const std::vector<tkcases::CaseFile>& files,
                        ScriptCodePage code_page) {
  const bool vbs = language == ScriptLanguage::kVbscript;
  const bool cp932 = vbs && code_page == ScriptCodePage::k932;
  std::string body;
  int written = 0, left_out = 0, split = 0;
  for (const tkcases::CaseFile& file : files) {
    // A line with no result sets the library's state (the default
    // separator) for the lines after it: while the last such line is left
    // out for its bytes, so are they.
    bool state_split = false;
    for (const tkcases::Case& c : file.cases) {
      bool not_whole = false;
      const std::optional<Call> call = MakeCall(language, cp932 ? code_page : ScriptCodePage::kSingleByte, c,
                                                not_whole);
      if (c.info->result == 'N') state_split = not_whole;
      if (!call || state_split) {
        ++(not_whole || state_split ? split : left_out);
        continue;
      }
      ++written;
      body += vbs ? VbscriptCase(c, *call) : JscriptCase(c, *call);
    }
  }
  const std::string total = Number(written), out = Number(left_out);
  if (vbs) {
    const std::string split_out =
        cp932 ? ", " + Number(split) + " whose bytes (or the separator's they depend on) are no whole characters of code page 932" : "";
    return kVbscriptHead + std::string(cp932 ? kVbscript932Check : "") + body +
           "\nIf Passed + Failed + LeftOut <> " + total + " Then\n"
           "  WScript.Echo \"only \" & (Passed + Failed + LeftOut) & \" of " + total +
           " case lines ran to their check\"\n"
           "  Failed = Failed + 1\n"
           "End If\n"
           "WScript.Echo Label & \": \" & Passed & \" passed, \" & Failed & \" failed; left out: " + out +
           " case lines with a fixed clock, an Integer beyond 16 bits or a Variant VBScript cannot make here" +
           split_out + ", \" & LeftOut & \" with bytes "
           "that the code page does not keep\"\n"
           "If Failed > 0 Then WScript.Quit 1\n";
  }
  return kJscriptHead + body +
         "if (passed + failed != " + total + ") {\n"
         "  WScript.Echo(\"only \" + (passed + failed) + \" of " + total + " case lines ran to their check\");\n"
         "  ++failed;\n"
         "}\n"
         "WScript.Echo(label + \": \" + passed + \" passed, \" + failed + \" failed (the " + total +
         " case lines in ASCII that JScript can pass; " + out + " others)\");\n"
         "if (failed > 0) WScript.Quit(1);\n";
}

}  // namespace casescripts
