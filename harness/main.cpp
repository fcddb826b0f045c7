// The host harness: loads the DLL, checks its exports, runs every registered
// behaviour table against it, calling each export exactly as a Basic host
// does, and ends with the line "dll32: N passed, N failed, N skipped" (dll64
// for the 64-bit DLL).  Exits non-zero on any failure.
//
//   twinekit_harness [--family NAME] [--export NAME] [PATH-TO-DLL]
//
// --family runs one table, --export only the cases of one export (for
// quick runs while working on a family; the closing line counts only what
// ran).
// Cases that need a fixed clock can only run natively; for cMixChars the
// harness instead reads the clock before and after a real call and, when
// both fall in the same second, checks the exact permutation for that
// second's seed.  Other fixed-clock cases are counted as skipped.  A crash inside an export is reported with the case that caused
// it before the process ends.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "allocation_watch.h"
#include "basic_host.h"
#include "cases/case.h"
#include "cases/charsets_mix.h"
#include "cases/outcome.h"
#include "dll_exports.h"
#include "exports/export_table.h"

namespace {

constexpr bool k64 = sizeof(void*) == 8;
constexpr const char* kTier = k64 ? "dll64" : "dll32";
constexpr const char* kDllName = k64 ? "TWINEKIT64.DLL" : "TWINEKIT.DLL";

struct Tally {
  int passed = 0, failed = 0, skipped = 0;
};

Tally g_total;
char g_current[512];  // the call in progress, for the crash report

void Closing() {
  std::printf("%s: %d passed, %d failed, %d skipped\n", kTier, g_total.passed, g_total.failed,
              g_total.skipped);
  std::fflush(stdout);
}

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* e) {
  std::printf("FAIL %s: exception 0x%08lX at %p during %s\n", kTier,
              static_cast<unsigned long>(e->ExceptionRecord->ExceptionCode),
              e->ExceptionRecord->ExceptionAddress, g_current);
  ++g_total.failed;
  Closing();
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

void Fail(std::string_view family, const std::string& what) {
  std::printf("FAIL %s %.*s: %s\n", kTier, static_cast<int>(family.size()), family.data(),
              what.c_str());
  std::fflush(stdout);
}

bool HasInteger(std::string_view kinds) { return kinds.find('I') != std::string_view::npos; }

// Runs one case; returns the failure, or empty.
std::string RunCase(const tkcases::Case& c, const tkharness::DllExports& exports) {
  const twinekit::ExportInfo* info = twinekit::FindExport(c.fn);
  if (info == nullptr) return std::string(c.fn) + ": not in the export table";
  const std::string call = tkcases::Describe(c, info->args);
  void* fn = exports.Find(c.fn);
  if (fn == nullptr) return call + ": the DLL does not export " + std::string(c.fn);

  const size_t patterns = HasInteger(info->args) ? std::size(tkharness::kSlotGarbage) : 1;
  for (size_t p = 0; p < patterns; ++p) {
    const uint64_t garbage = tkharness::kSlotGarbage[p];
    std::snprintf(g_current, sizeof g_current, "%s", call.c_str());
    const tkcases::Outcome seen = tkharness::CallAsBasicHost(fn, *info, c, garbage);
    const std::string problem = tkcases::CheckOutcome(c, info->result, seen);
    if (!problem.empty()) {
      std::string where = call;
      if (patterns > 1) {
        char slot[64];
        std::snprintf(slot, sizeof slot, " [slot garbage 0x%0*llX]",
                      static_cast<int>(2 * sizeof(uintptr_t)),
                      static_cast<unsigned long long>(static_cast<uintptr_t>(garbage)));
        where += slot;
      }
      return where + ": " + problem;
    }
  }
  return {};
}

// Calendar seconds since 1970, as the library's seed reads them.
uint32_t ClockSeconds() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const uint64_t ticks = (uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
  return static_cast<uint32_t>(ticks / 10000000 - 11644473600ull);
}

// cMixChars on the real clock: the permutation of the second the call
// fell in.  A call that straddles a second is tried again.
std::string RunMixOnRealClock(const tkcases::Case& c, const tkharness::DllExports& exports) {
  const twinekit::ExportInfo* info = twinekit::FindExport(c.fn);
  void* fn = exports.Find(c.fn);
  if (info == nullptr || fn == nullptr) return std::string(c.fn) + ": not exported";
  tkcases::Case real = c;
  real.clock = -1;
  for (int attempt = 0; attempt < 5; ++attempt) {
    const uint32_t before = ClockSeconds();
    const tkcases::Outcome seen = tkharness::CallAsBasicHost(fn, *info, real, 0);
    const uint32_t after = ClockSeconds();
    if (before != after) continue;
    real.want = tkcases::Str("");
    const std::string expected = tkcases::ExpectedMix(before, real.args[0].bytes);
    real.want.bytes = expected;
    const std::string problem = tkcases::CheckOutcome(real, info->result, seen);
    if (problem.empty()) return {};
    return tkcases::Describe(real, info->args) + " at real clock " + std::to_string(before) +
           ": " + problem;
  }
  return {};  // five calls in a row straddled a second: nothing to compare
}

std::string DefaultDllPath() {
  char exe[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string path(exe, n);
  const size_t slash = path.find_last_of("\\/");
  return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + kDllName;
}

}  // namespace

int main(int argc, char** argv) {
  std::string dll_path, only_family, only_export;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--family") == 0 && i + 1 < argc) {
      only_family = argv[++i];
    } else if (std::strcmp(argv[i], "--export") == 0 && i + 1 < argc) {
      only_export = argv[++i];
    } else {
      dll_path = argv[i];
    }
  }
  if (dll_path.empty()) dll_path = DefaultDllPath();
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(ReportCrash);

  // Every call is watched for task memory left allocated, when the
  // allocator lets the harness see every BSTR (OANOCACHE=1).
  const std::string watch = tkharness::AllocationWatch::Install();
  std::printf("%s: allocation checks %s%s\n", kTier, watch.empty() ? "on" : "OFF: ", watch.c_str());

  std::snprintf(g_current, sizeof g_current, "LoadLibrary(%s)", dll_path.c_str());
  HMODULE module = LoadLibraryA(dll_path.c_str());
  if (module == nullptr) {
    std::printf("FAIL %s: cannot load %s (error %lu)\n", kTier, dll_path.c_str(),
                static_cast<unsigned long>(GetLastError()));
    ++g_total.failed;
    Closing();
    return 2;
  }

  const tkharness::DllExports exports = tkharness::FindExports(module, kDllName);
  for (const std::string& problem : exports.problems) {
    Fail("exports", problem);
    ++g_total.failed;
  }
  std::printf("%s: %s exports %d of %zu names of the export table, by name and ordinal\n", kTier,
              dll_path.c_str(), exports.present, twinekit::kExports.size());

  for (const tkcases::CaseTable& table : tkcases::AllTables()) {
    if (!only_family.empty() && table.family != only_family) continue;
    Tally t;
    for (const tkcases::Case& c : table.cases) {
      if (!only_export.empty() && c.fn != only_export) continue;
      if (c.clock >= 0 && c.fn != "cMixChars") {
        ++t.skipped;  // the clock can be fixed only in the native build
        continue;
      }
      const std::string failure =
          c.clock >= 0 ? RunMixOnRealClock(c, exports) : RunCase(c, exports);
      if (failure.empty()) {
        ++t.passed;
      } else {
        ++t.failed;
        Fail(table.family, failure);
      }
    }
    if (t.passed + t.failed + t.skipped == 0) continue;
    std::printf("  %-26.*s %4d passed, %d failed, %d skipped\n",
                static_cast<int>(table.family.size()), table.family.data(), t.passed, t.failed,
                t.skipped);
    g_total.passed += t.passed;
    g_total.failed += t.failed;
    g_total.skipped += t.skipped;
  }

  std::snprintf(g_current, sizeof g_current, "FreeLibrary(%s)", dll_path.c_str());
  if (!FreeLibrary(module)) {
    Fail("module", "FreeLibrary failed");
    ++g_total.failed;
  }
  Closing();
  return g_total.failed == 0 ? 0 : 1;
}
