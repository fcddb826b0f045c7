// The COM module: its own handle and file, and the count of the objects and
// locks that keep it loaded.
#pragma once

#include <windows.h>

namespace twinekit::com {

HMODULE ThisModule();

// The module's full path; false when it does not fit in size characters.
bool ModulePath(wchar_t* path, DWORD size);

void ObjectMade();
void ObjectGone();

}  // namespace twinekit::com
