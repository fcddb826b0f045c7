#include <vector>

#include "cases/case.h"

namespace tkcases {
namespace {

std::vector<CaseTable>& Tables() {
  static std::vector<CaseTable> tables;
  return tables;
}

}  // namespace

std::span<const CaseTable> AllTables() { return Tables(); }

Registered::Registered(std::string_view family, std::span<const Case> cases) {
  Tables().push_back({family, cases});
}

}  // namespace tkcases
