// Runs behaviour cases through the native shared library, building the
// arguments the way a Basic host does.
#pragma once

#include "cases/case.h"
#include "cases/outcome.h"

namespace tksupport {

// Calls the case's export once and reports what happened.
tkcases::Outcome RunNative(const tkcases::Case& c);

// The address of an export of the native library, or null.
void* FindNativeExport(std::string_view name);

}  // namespace tksupport
