// The behaviour cases: the case files tests/cases/*.cases, one family a
// file, compiled into the program that runs them.
#pragma once

#include <span>

#include "case_line.h"

namespace tkcases {

struct CaseText {
  std::string_view family;
  std::string_view text;
};
std::span<const CaseText> CaseTexts();

struct CaseSet {
  std::vector<CaseFile> files;
  std::vector<std::string> errors;  // lines that do not parse
};
const CaseSet& AllCases();

}  // namespace tkcases
