// Times the DLL of the program's width (TWINEKIT.DLL or TWINEKIT64.DLL),
// loaded from this program's own folder (or from the path given): every
// export once on 16 bytes, and a dozen representative ones at every size,
// as a Basic host calls them (the slot call of tools/hostcall): the arguments of
// benchmarks/export_cases.cpp made once with the system's
// SysAllocStringByteLen, one call a batch step, every string result freed
// with SysFreeString, batches timed with
// QueryPerformanceCounter.  memcpy and a BSTR's allocation and release are
// timed in the same process, and the figures are printed as a Markdown
// table: the cost of one call, the throughput and its ratio to memcpy.
#include <windows.h>  // with oleauto.h: SysAllocStringByteLen, SysFreeString

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "export_cases.h"
#include "exports/export_table.h"
#include "inputs.h"
#include "slot_call.h"

namespace {

constexpr std::string_view kTimed[] = {
    "fields/cGetIn:last",          "fields/cCount",         "fields/cOrToken",
    "fields/cStringSAR",           "charsets/cChangeChars", "charsets/cFilterChars",
    "compress/cCompress",          "encodings/cToHexa",     "encodings/cFromHexa",
    "encodings/cCnvASCIItoEBCDIC", "positions/cReverse",    "names/cProperName2",
    "patterns/cPatternMatch"};

constexpr const char* kDllName = sizeof(void*) == 8 ? "TWINEKIT64.DLL" : "TWINEKIT.DLL";

double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / frequency;
}

// Nanoseconds a step: batches grown until one lasts 20 ms, then the
// fastest of five such batches, the one least disturbed by other work.
template <typename Step>
double NsPerStep(Step&& step) {
  long batch = 1;
  for (;;) {
    const double start = Now();
    for (long i = 0; i < batch; ++i) step();
    if (Now() - start >= 0.02) break;
    batch *= 2;
  }
  double best = 1e300;
  for (int round = 0; round < 5; ++round) {
    const double start = Now();
    for (long i = 0; i < batch; ++i) step();
    best = std::min(best, (Now() - start) / static_cast<double>(batch));
  }
  return best * 1e9;
}

double MemcpyNs(size_t n) {
  const std::string src = tkbench::Prose(n);
  std::string dst(n, '\0');
  return NsPerStep([&] {
    std::memcpy(dst.data(), src.data(), n);
    asm volatile("" : : "r"(dst.data()) : "memory");
  });
}

double BstrCopyNs(size_t n) {
  const std::string src = tkbench::Prose(n);
  return NsPerStep([&] { SysFreeString(SysAllocStringByteLen(src.data(), static_cast<UINT>(n))); });
}

double ExportNs(HMODULE dll, const tkbench::ExportCase& c, size_t n) {
  const twinekit::ExportInfo& info = *twinekit::FindExport(c.name);
  void* const fn = reinterpret_cast<void*>(GetProcAddress(dll, std::string(c.name).c_str()));
  if (fn == nullptr) return -1;
  tkhost::HostArgs args(info, c.args(n), 0);
  const tkhost::Caller call = tkhost::SlotCaller(fn);
  return NsPerStep([&] { SysFreeString(call(args).string); });
}

std::string SizeText(size_t n) {
  if (n >= 1024 * 1024) return std::to_string(n / (1024 * 1024)) + " MiB";
  if (n >= 1024) return std::to_string(n / 1024) + " KiB";
  return std::to_string(n) + " B";
}

void PrintRow(std::string_view name, size_t n, double ns, double memcpy_ns) {
  const std::string size = SizeText(n);
  if (ns < 0) {
    std::printf("| %.*s | %s | not exported | | |\n", static_cast<int>(name.size()), name.data(),
                size.c_str());
    return;
  }
  std::printf("| %.*s | %s | %.*f | %.1f | %.3f |\n", static_cast<int>(name.size()), name.data(),
              size.c_str(), ns < 100 ? 1 : 0, ns, static_cast<double>(n) / ns * 1e3,
              memcpy_ns / ns);
}

const tkbench::ExportCase* FindCase(std::string_view name) {
  for (const tkbench::ExportCase& c : tkbench::ExportCases()) {
    if (tkbench::CaseName(c) == name) return &c;
  }
  return nullptr;
}

std::string DllPath(int argc, char** argv) {
  if (argc > 1) return argv[1];
  char exe[MAX_PATH];
  std::string path(exe, GetModuleFileNameA(nullptr, exe, MAX_PATH));
  return path.substr(0, path.find_last_of("\\/") + 1) + kDllName;
}

// "Wine x.y" when running under Wine, else "Windows".
std::string Host() {
  using Version = const char* (*)();
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  const auto wine =
      reinterpret_cast<Version>(reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")));
  return wine != nullptr ? std::string("Wine ") + wine() : "Windows";
}

}  // namespace

int main(int argc, char** argv) {
  const std::string path = DllPath(argc, argv);
  const HMODULE dll = LoadLibraryA(path.c_str());
  if (dll == nullptr) {
    std::fprintf(stderr, "dll_timing: cannot load %s (error %lu)\n", path.c_str(), GetLastError());
    return 1;
  }
  const char* form = std::getenv("TWINEKIT_KERNELS");
  std::printf("%s on %s; BSTRs from the system's OLEAUT32; kernels: %s.\n\n", kDllName,
              Host().c_str(), form != nullptr ? form : "the best form the CPU runs");
  std::printf("| call | size | ns/call | MB/s | x memcpy |\n|---|---|---|---|---|\n");
  std::array<double, std::size(tkbench::kSizes)> memcpy_ns{};
  for (size_t i = 0; i < memcpy_ns.size(); ++i) {
    memcpy_ns[i] = MemcpyNs(tkbench::kSizes[i]);
    PrintRow("memcpy", tkbench::kSizes[i], memcpy_ns[i], memcpy_ns[i]);
  }
  for (size_t i = 0; i < memcpy_ns.size(); ++i) {
    PrintRow("BSTR allocate and free", tkbench::kSizes[i], BstrCopyNs(tkbench::kSizes[i]),
             memcpy_ns[i]);
  }
  for (std::string_view name : kTimed) {
    const tkbench::ExportCase* c = FindCase(name);
    if (c == nullptr) {
      std::fprintf(stderr, "dll_timing: no case %.*s\n", static_cast<int>(name.size()), name.data());
      return 1;
    }
    for (size_t i = 0; i < memcpy_ns.size(); ++i) {
      PrintRow(name, tkbench::kSizes[i], ExportNs(dll, *c, tkbench::kSizes[i]), memcpy_ns[i]);
    }
    std::fflush(stdout);
  }
  // Every export once, at 16 bytes (or its one size): the cost of a call.
  std::printf("\n| export | size | ns/call |\n|---|---|---|\n");
  for (const tkbench::ExportCase& c : tkbench::ExportCases()) {
    const size_t n = c.one_size != 0 ? c.one_size : tkbench::kSizes[0];
    const double ns = ExportNs(dll, c, n);
    std::printf("| %s | %s | %.1f |\n", tkbench::CaseName(c).c_str(), SizeText(n).c_str(), ns);
    std::fflush(stdout);
  }
  return 0;
}
