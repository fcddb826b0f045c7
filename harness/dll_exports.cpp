#include "dll_exports.h"

#include <cstdio>

namespace tkharness {
namespace {

std::string Hex(const void* p) {
  char text[32];
  std::snprintf(text, sizeof text, "%p", p);
  return text;
}

// Checks the export directory of the loaded image.
void CheckDirectory(HMODULE module, std::string_view expected_module_name, DllExports& out) {
  const auto* base = reinterpret_cast<const uint8_t*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& entry =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (entry.VirtualAddress == 0) {
    out.problems.push_back("the DLL has no export directory");
    return;
  }
  const auto* dir = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
  const std::string_view module_name(reinterpret_cast<const char*>(base + dir->Name));
  if (module_name != expected_module_name) {
    out.problems.push_back("the DLL calls itself \"" + std::string(module_name) + "\", want \"" +
                           std::string(expected_module_name) + "\"");
  }
  const auto* names = reinterpret_cast<const DWORD*>(base + dir->AddressOfNames);
  for (DWORD i = 0; i < dir->NumberOfNames; ++i) {
    const std::string_view name(reinterpret_cast<const char*>(base + names[i]));
    if (twinekit::FindExport(name) == nullptr) {
      out.problems.push_back("the DLL exports \"" + std::string(name) +
                             "\", which is not in the export table");
    }
  }
  if (dir->NumberOfFunctions > 0 && dir->NumberOfNames == 0) {
    out.problems.push_back("the DLL exports by ordinal only");
  }
}

}  // namespace

void* DllExports::Find(std::string_view name) const {
  for (size_t i = 0; i < twinekit::kExports.size(); ++i) {
    if (twinekit::kExports[i].name == name) return address[i];
  }
  return nullptr;
}

DllExports FindExports(HMODULE module, std::string_view expected_module_name) {
  DllExports out;
  for (size_t i = 0; i < twinekit::kExports.size(); ++i) {
    const twinekit::ExportInfo& e = twinekit::kExports[i];
    const std::string name(e.name);
    void* by_name = reinterpret_cast<void*>(GetProcAddress(module, name.c_str()));
    void* by_ordinal = reinterpret_cast<void*>(
        GetProcAddress(module, MAKEINTRESOURCEA(static_cast<WORD>(e.ordinal))));
    if (by_name != by_ordinal) {
      out.problems.push_back(name + ": by name " + Hex(by_name) + ", by ordinal " +
                             std::to_string(e.ordinal) + " " + Hex(by_ordinal));
    } else if (by_name != nullptr) {
      out.address[i] = by_name;
      ++out.present;
    }
  }
  CheckDirectory(module, expected_module_name, out);
  return out;
}

}  // namespace tkharness
