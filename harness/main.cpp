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
// Cases that need a fixed clock can only run natively; on the DLL a
// cMixChars case is checked to give a shuffle of its text, the same for two
// calls in the same second, and other fixed-clock cases are counted as
// skipped.  A crash inside an export is reported with the case that caused
// it before the process ends.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "allocation_watch.h"
#include "basic_host.h"
#include "cases/case_file.h"
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
  const std::string call = c.where + ": " + c.text;
  void* fn = exports.Find(c.info->name);
  if (fn == nullptr) return call + ": the DLL does not export it";

  const size_t patterns = HasInteger(c.info->args) ? std::size(tkharness::kSlotGarbage) : 1;
  for (size_t p = 0; p < patterns; ++p) {
    const uint64_t garbage = tkharness::kSlotGarbage[p];
    std::snprintf(g_current, sizeof g_current, "%s", call.c_str());
    const tkcases::Outcome seen = tkharness::CallAsBasicHost(fn, c, garbage);
    const std::string problem = tkcases::CheckOutcome(c, seen);
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

std::string Sorted(std::string bytes) {
  std::sort(bytes.begin(), bytes.end());
  return bytes;
}

// The bytes cMixChars shuffles: the text up to its first zero byte, and a
// zero byte for each position from there on.
std::string MixedBytes(std::string text) {
  std::fill(std::find(text.begin(), text.end(), '\0'), text.end(), '\0');
  return text;
}

// Calendar seconds since 1970, as the library's seed reads them.
uint64_t ClockSeconds() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return ((uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime) / 10000000;
}

// cMixChars on the real clock: a shuffle of its text, the same one for two
// calls within one second.  Calls that straddle a second are tried again.
std::string RunMixOnRealClock(const tkcases::Case& c, const tkharness::DllExports& exports) {
  void* fn = exports.Find(c.info->name);
  if (fn == nullptr) return c.where + ": the DLL does not export it";
  const std::string call = c.where + ": " + c.text + " on the real clock";
  std::snprintf(g_current, sizeof g_current, "%s", call.c_str());
  for (int attempt = 0; attempt < 5; ++attempt) {
    const uint64_t before = ClockSeconds();
    tkcases::Outcome first = tkharness::CallAsBasicHost(fn, c, 0);
    const tkcases::Outcome again = tkharness::CallAsBasicHost(fn, c, 0);
    const bool one_second = ClockSeconds() == before;
    // Checked as a case whose result is whatever came back, a shuffle of the text.
    tkcases::Case real = c;
    real.want.bytes = first.bytes;
    if (std::string problem = tkcases::CheckOutcome(real, first); !problem.empty()) {
      return call + ": " + problem;
    }
    if (Sorted(first.bytes) != Sorted(MixedBytes(c.args[0].bytes))) {
      return call + ": gave " + tkhost::Quote(first.bytes) + ", not a shuffle of its text";
    }
    if (one_second) {
      return again.bytes == first.bytes ? "" : call + ": two calls in one second differ";
    }
  }
  return {};
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

  for (const std::string& error : tkcases::AllCases().errors) {
    Fail("cases", error);
    ++g_total.failed;
  }
  for (const tkcases::CaseFile& file : tkcases::AllCases().files) {
    if (!only_family.empty() && file.family != only_family) continue;
    Tally t;
    for (const tkcases::Case& c : file.cases) {
      if (!only_export.empty() && c.info->name != only_export) continue;
      if (c.clock >= 0 && c.info->name != "cMixChars") {
        ++t.skipped;  // the clock can be fixed only in the native build
        continue;
      }
      const std::string failure =
          c.clock >= 0 ? RunMixOnRealClock(c, exports) : RunCase(c, exports);
      if (failure.empty()) {
        ++t.passed;
      } else {
        ++t.failed;
        Fail(file.family, failure);
      }
    }
    if (t.passed + t.failed + t.skipped == 0) continue;
    std::printf("  %-26.*s %4d passed, %d failed, %d skipped\n",
                static_cast<int>(file.family.size()), file.family.data(), t.passed, t.failed,
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
