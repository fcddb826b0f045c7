// The host harness: loads the DLL, finds its exports, runs every case file
// against it, calling each export exactly as a Basic host does (the slot
// call of tools/hostcall, watched for task memory left allocated), and ends
// with the line "dll32: N passed, N failed, N skipped" (dll64 for the 64-bit
// DLL).  Exits non-zero on any failure.
//
//   twinekit_harness [--family NAME] [--export NAME] [PATH-TO-DLL]
//
// --family runs one case file, --export only the cases of one export.  The
// clock can be fixed only natively: on the DLL a fixed-clock cMixChars case
// is checked to give a shuffle of its text, the same for two calls in one
// second; other fixed-clock cases are skipped.  A crash inside an export is
// reported with the case that caused it before the process ends.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "allocation_watch.h"
#include "cases/case_file.h"
#include "slot_call.h"

namespace {

constexpr bool k64 = sizeof(void*) == 8;
constexpr const char* kTier = k64 ? "dll64" : "dll32";
constexpr const char* kDllName = k64 ? "TWINEKIT64.DLL" : "TWINEKIT.DLL";

int g_passed = 0, g_failed = 0, g_skipped = 0;
char g_current[512];  // the call in progress, for the crash report

void Closing() {
  std::printf("%s: %d passed, %d failed, %d skipped\n", kTier, g_passed, g_failed, g_skipped);
  std::fflush(stdout);
}

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* e) {
  std::printf("FAIL %s: exception 0x%08lX at %p during %s\n", kTier,
              static_cast<unsigned long>(e->ExceptionRecord->ExceptionCode),
              e->ExceptionRecord->ExceptionAddress, g_current);
  ++g_failed;
  Closing();
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

void Fail(const std::string& what) {
  std::printf("FAIL %s %s\n", kTier, what.c_str());
  std::fflush(stdout);
  ++g_failed;
}

// Every export by name, which must give the address its ordinal gives.
std::array<void*, 64> FindExports(HMODULE module) {
  std::array<void*, 64> found{};
  for (const twinekit::ExportInfo& e : twinekit::kExports) {
    const std::string name(e.name);
    void* by_name = reinterpret_cast<void*>(GetProcAddress(module, name.c_str()));
    void* by_ordinal = reinterpret_cast<void*>(
        GetProcAddress(module, MAKEINTRESOURCEA(static_cast<WORD>(e.ordinal))));
    if (by_name == nullptr || by_name != by_ordinal) {
      Fail(name + ": not exported by name and by ordinal " + std::to_string(e.ordinal));
    }
    found[static_cast<size_t>(e.ordinal - 1)] = by_name;
  }
  return found;
}

// Every block of task memory that a call allocated and did not free must
// be its string result's own.
class LeftoverWatch : public tkhost::CallWatch {
 public:
  void Before() override {
    if (tkharness::AllocationWatch::active()) tkharness::AllocationWatch::Begin();
  }
  std::string After(const void* string_result) override {
    if (!tkharness::AllocationWatch::active()) return {};
    size_t bytes = 0, blocks = 0;
    for (const tkharness::LiveBlock& block : tkharness::AllocationWatch::End()) {
      if (string_result != nullptr && block.Contains(string_result)) continue;
      bytes += block.size;
      ++blocks;
    }
    if (blocks == 0) return {};
    return "left " + std::to_string(blocks) + " block(s) of task memory (" +
           std::to_string(bytes) + " bytes) allocated after returning";
  }
};

std::string Sorted(std::string bytes) {
  std::sort(bytes.begin(), bytes.end());
  return bytes;
}

// Calendar seconds since 1970, as the library's seed reads them.
uint64_t ClockSeconds() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return ((uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime) / 10000000;
}

// cMixChars on the real clock.  It shuffles the text up to its first zero
// byte and a zero byte for each position from there on; two calls in one
// second give the same shuffle.  Calls that straddle a second are retried.
std::string RunMixOnRealClock(const tkcases::Case& c, void* fn) {
  std::string mixed = c.args[0].bytes;
  std::fill(std::find(mixed.begin(), mixed.end(), '\0'), mixed.end(), '\0');
  for (int attempt = 0; attempt < 5; ++attempt) {
    const uint64_t second = ClockSeconds();
    LeftoverWatch leftovers;
    const tkcases::Outcome first = tkhost::RunCase(c, tkhost::SlotCaller(fn), 0, &leftovers);
    const tkcases::Outcome again = tkhost::RunCase(c, tkhost::SlotCaller(fn), 0, &leftovers);
    tkcases::Case as_given = c;
    as_given.want.bytes = first.bytes;
    if (std::string problem = tkcases::CheckOutcome(as_given, first); !problem.empty()) {
      return problem;
    }
    if (Sorted(first.bytes) != Sorted(mixed)) return "gave " + tkhost::Quote(first.bytes);
    if (ClockSeconds() == second) return again.bytes == first.bytes ? "" : "two calls differ";
  }
  return {};
}

std::string DefaultDllPath() {
  char exe[MAX_PATH];
  std::string path(exe, GetModuleFileNameA(nullptr, exe, MAX_PATH));
  return path.substr(0, path.find_last_of("\\/") + 1) + kDllName;
}

}  // namespace

int main(int argc, char** argv) {
  std::string dll_path = DefaultDllPath(), only_family, only_export;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--family") == 0 && i + 1 < argc) only_family = argv[++i];
    else if (std::strcmp(argv[i], "--export") == 0 && i + 1 < argc) only_export = argv[++i];
    else dll_path = argv[i];
  }
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter(ReportCrash);

  // Every call is watched for task memory left allocated, when the
  // allocator lets the harness see every BSTR (OANOCACHE=1).
  const std::string watch = tkharness::AllocationWatch::Install();
  std::printf("%s: allocation checks %s%s\n", kTier, watch.empty() ? "on" : "OFF: ", watch.c_str());

  std::snprintf(g_current, sizeof g_current, "LoadLibrary(%s)", dll_path.c_str());
  HMODULE module = LoadLibraryA(dll_path.c_str());
  if (module == nullptr) {
    Fail("cannot load " + dll_path + " (error " + std::to_string(GetLastError()) + ")");
    Closing();
    return 2;
  }
  const std::array<void*, 64> exports = FindExports(module);
  for (const std::string& error : tkcases::AllCases().errors) Fail(error);

  for (const tkcases::CaseFile& file : tkcases::AllCases().files) {
    if (!only_family.empty() && file.family != only_family) continue;
    int passed = 0, failed = 0, skipped = 0;
    for (const tkcases::Case& c : file.cases) {
      if (!only_export.empty() && c.info->name != only_export) continue;
      const bool mix = c.info->name == "cMixChars";
      void* fn = exports[static_cast<size_t>(c.info->ordinal - 1)];
      if ((c.clock >= 0 && !mix) || fn == nullptr) {
        ++skipped;  // the clock can be fixed only in the native build
        continue;
      }
      std::snprintf(g_current, sizeof g_current, "%s: %s", c.where.c_str(), c.text.c_str());
      LeftoverWatch leftovers;
      const std::string problem = c.clock >= 0
                                      ? RunMixOnRealClock(c, fn)
                                      : tkhost::CheckCase(c, tkhost::SlotCaller(fn), &leftovers);
      if (problem.empty()) {
        ++passed;
      } else {
        ++failed;
        Fail(g_current + std::string(": ") + problem);
      }
    }
    std::printf("  %-12.*s %4d passed, %d failed, %d skipped\n",
                static_cast<int>(file.family.size()), file.family.data(), passed, failed, skipped);
    g_passed += passed;
    g_skipped += skipped;
  }

  std::snprintf(g_current, sizeof g_current, "FreeLibrary(%s)", dll_path.c_str());
  if (!FreeLibrary(module)) Fail("FreeLibrary failed");
  Closing();
  return g_failed == 0 ? 0 : 1;
}
