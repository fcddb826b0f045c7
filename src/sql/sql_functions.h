// What the SQL faces need to know of each export beyond the export table:
// whether a call's result depends on its arguments alone, so that an
// engine may use it in an index, a generated column or a parallel plan.
#pragma once

#include <string_view>

#include "exports/export_table.h"

namespace twinekit::sql {

// Every export but the shuffle, which reads the clock, and the two that
// read or write the connection's separator.
constexpr bool IsDeterministic(const ExportInfo& e) {
  return e.name != "cMixChars" && e.name != "cGet" && e.name != "cSetDefaultSeparator";
}

}  // namespace twinekit::sql
