// The DLL's exports as a host finds them: by name, and by ordinal.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "exports/export_table.h"

namespace tkharness {

struct DllExports {
  // By the export table's order; null where the DLL does not export it.
  std::array<void*, twinekit::kExports.size()> address{};
  int present = 0;
  std::vector<std::string> problems;  // each one a failure

  void* Find(std::string_view name) const;
};

// Looks up every export of the table by name and by ordinal (the two must
// give the same address, or neither must exist), and checks the module's
// export directory: its own name, and no name outside the table.
DllExports FindExports(HMODULE module, std::string_view expected_module_name);

}  // namespace tkharness
