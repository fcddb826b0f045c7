// The arguments every export is benchmarked with, as the values a host
// passes, made for a text of n bytes: one entry per export, and a second or
// third for an export whose work depends on its input (search and replace
// with matches, without, and blind to case).  The arguments make each
// export do its full work: the last of many fields, a search that runs to
// the end, a translation of every byte.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "values.h"

namespace tkbench {

struct ExportCase {
  std::string_view family;   // the library folder of the export
  std::string_view name;     // the export
  std::string_view variant;  // empty, or what sets this entry apart
  std::string_view peer;     // the peer benchmark doing the nearest work, or empty
  size_t one_size;           // 0: runs at every size of kSizes; else its one input length
  std::vector<tkhost::Value> (*args)(size_t n);
};

std::span<const ExportCase> ExportCases();

// "family/name" or "family/name:variant".
std::string CaseName(const ExportCase& c);

}  // namespace tkbench
