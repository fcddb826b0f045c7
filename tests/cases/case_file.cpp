#include "cases/case_file.h"

namespace tkcases {

const CaseSet& AllCases() {
  static const CaseSet set = [] {
    CaseSet s;
    for (const CaseText& t : CaseTexts()) s.files.push_back(ParseCaseText(t.family, t.text, s.errors));
    return s;
  }();
  return set;
}

}  // namespace tkcases
