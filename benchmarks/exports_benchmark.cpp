// Every export called as a Basic host calls it, at 16 bytes, 1 KiB and
// 1 MiB of realistic input (export_cases.cpp): the arguments made once,
// then one call an iteration, each string result freed.  Names read
// "family/export[:variant]/size"; the label names the peer benchmark
// (peers_benchmark.cpp) that does the nearest work.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "export_cases.h"
#include "exports/export_table.h"
#include "frame/kernels/kernel_table.h"
#include "inputs.h"
#include "host_call.h"

namespace {

void RunExport(benchmark::State& state, const tkbench::ExportCase* c, size_t n) {
  const twinekit::ExportInfo& info = *twinekit::FindExport(c->name);
  tkhost::HostArgs args(info, c->args(n));
  for (auto _ : state) {
    tkhost::Returned r = tkhost::CallTyped(args);
    benchmark::DoNotOptimize(r);
    if (info.result == 'S') SysFreeString(r.string);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(n));
  if (!c->peer.empty()) state.SetLabel("peer=" + std::string(c->peer));
}

void Register(const tkbench::ExportCase& c, size_t n) {
  const std::string name = tkbench::CaseName(c) + "/" + std::to_string(n);
  benchmark::RegisterBenchmark(name.c_str(), RunExport, &c, n);
}

// Every export of the table must have a case; a new export without one
// stops the program rather than going unmeasured.
void CheckCoverage() {
  for (const twinekit::ExportInfo& e : twinekit::kExports) {
    bool found = false;
    for (const tkbench::ExportCase& c : tkbench::ExportCases()) found |= c.name == e.name;
    if (!found) {
      std::fprintf(stderr, "no benchmark case for the export %.*s\n",
                   static_cast<int>(e.name.size()), e.name.data());
      std::abort();
    }
  }
}

[[maybe_unused]] const bool kRegistered = [] {
  CheckCoverage();
  // The form of the kernels this run measures (TWINEKIT_KERNELS may force
  // one), in the output's context.
  namespace kernels = twinekit::kernels;
  benchmark::AddCustomContext("kernels", kernels::FormName(kernels::Kernels().form));
  for (const tkbench::ExportCase& c : tkbench::ExportCases()) {
    if (twinekit::FindExport(c.name) == nullptr) {
      std::fprintf(stderr, "benchmark case for an unknown export %s\n",
                   tkbench::CaseName(c).c_str());
      std::abort();
    }
    if (c.one_size != 0) {
      Register(c, c.one_size);
      continue;
    }
    for (size_t n : tkbench::kSizes) Register(c, n);
  }
  return true;
}();

}  // namespace
