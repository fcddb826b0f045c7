// Case lines written as a script that a COM script host runs against the
// object TwineKit.Strings, each line one call of the method of its export
// and a check of what came back:
//
//   casescripts --vbscript FILE... > cases.vbs   cscript //nologo cases.vbs vbs64
//   casescripts --jscript FILE... > cases.js     cscript //nologo cases.js js64
//
// The argument names the closing line, "LABEL: N passed, N failed ...".
//
// VBScript runs every line it can pass as a Basic program would: strings
// made with Chr from the bytes of the system's code page, the first string
// arguments in variables (passed by reference, so that an in-place export's
// "after" is checked), Variants of the case's type.  Left out, and counted:
// lines with a fixed clock, which only the native build can set; lines with
// an Integer beyond 16 bits, which a COM caller cannot pass (the object
// answers those with an overflow error); and, counted as the script runs,
// lines with a byte that the code page does not keep.
//
// Written for code page 932 (casescripts --vbscript-932, for a host whose ANSI
// code page is 932), the strings are made of that code page's characters,
// a two-byte character with one Chr of its lead and trail byte; a line
// whose bytes are no whole characters (a lead byte without its trail byte)
// is left out and counted, and the script first checks the code page.
//
// JScript has no strings of code-page bytes, no Integers and no references:
// it runs the lines whose strings are ASCII and whose Variants are a Long,
// a Double, a String, a Boolean, Empty or Null, and checks no "after".
#pragma once

#include <string>
#include <vector>

#include "case_line.h"

namespace casescripts {

enum class ScriptLanguage { kVbscript, kJscript };

// The ANSI code page the script is written for: any single-byte one, or
// the double-byte 932 (VBScript only).
enum class ScriptCodePage { kSingleByte, k932 };

std::string WriteScript(ScriptLanguage language, const std::vector<tkcases::CaseFile>& files,
                        ScriptCodePage code_page = ScriptCodePage::kSingleByte);

}  // namespace casescripts
