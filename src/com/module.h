// The COM module: its own handle and file, and the count of the objects,
// class factory references and locks that keep it loaded.
#pragma once

#include <windows.h>
#include <oleauto.h>

namespace twinekit::com {

HMODULE ThisModule();

// The module's full path, however long (up to the 32767 characters of a
// path with the \\?\ prefix), in memory of the task allocator.
class ModulePath {
 public:
  ModulePath();
  ~ModulePath();
  ModulePath(const ModulePath&) = delete;
  ModulePath& operator=(const ModulePath&) = delete;

  // Null when the path could not be had; status() says why.
  const wchar_t* get() const { return path_; }
  HRESULT status() const { return status_; }

 private:
  wchar_t* path_ = nullptr;
  HRESULT status_ = S_OK;
};

// The type library in this module's resources.
HRESULT LoadOwnTypeLibrary(ITypeLib** library);

void ObjectMade();
void ObjectGone();

}  // namespace twinekit::com
