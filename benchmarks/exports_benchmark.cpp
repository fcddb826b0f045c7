// Every export called as a Basic host calls it, at 16 bytes, 1 KiB and
// 1 MiB of realistic input (export_cases.cpp): the arguments made once,
// then one call an iteration, each string result freed.  Names read
// "family/export[:variant]/size"; the label names the peer benchmark
// (peers_benchmark.cpp) that does the nearest work.
//
// Each run at 16 bytes has a floor beside it, "floor/family/export/16":
// the allocations that call makes and nothing else (its string result and
// the working areas the frame requires of it), of the sizes one call of
// the export was seen to allocate, made and freed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "allocation_record.h"

#include "export_cases.h"
#include "exports/export_table.h"
#include "frame/kernels/kernel_table.h"
#include "inputs.h"
#include "host_call.h"

namespace {

void RunExport(benchmark::State& state, const tkbench::ExportCase* c, size_t n) {
  const twinekit::ExportInfo& info = *twinekit::FindExport(c->name);
  tkhost::HostArgs args(info, c->args(n));
  const tkhost::TypedCall call = tkhost::TypedCallOf(info);
  for (auto _ : state) {
    tkhost::Returned r = call(args);
    benchmark::DoNotOptimize(r);
    if (info.result == 'S') SysFreeString(r.string);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(n));
  if (!c->peer.empty()) state.SetLabel("peer=" + std::string(c->peer));
}

// The allocations of one call of the case: its string result and the
// working areas it takes, from the task allocator or, where its
// specification says so, as BSTRs made with no source.
std::vector<tkbench::Allocation> AllocationsOf(const tkbench::ExportCase& c, size_t n) {
  const twinekit::ExportInfo& info = *twinekit::FindExport(c.name);
  tkhost::HostArgs args(info, c.args(n));
  tkbench::BeginAllocationRecord();
  const tkhost::Returned r = tkhost::CallTyped(args);
  std::vector<tkbench::Allocation> made = tkbench::EndAllocationRecord();
  if (info.result == 'S') SysFreeString(r.string);
  return made;
}

std::string FloorLabel(const std::vector<tkbench::Allocation>& made) {
  std::string label;
  for (const tkbench::Allocation& a : made) {
    label += label.empty() ? "" : " + ";
    label += (a.pool == twinekit::native::Pool::kScratch ? "task " : "BSTR ") +
             std::to_string(a.bytes);
  }
  return label.empty() ? "none" : label;
}

// The same blocks made in the same order, then freed, and nothing else.
void RunFloor(benchmark::State& state, const tkbench::ExportCase* c, size_t n) {
  const std::vector<tkbench::Allocation> made = AllocationsOf(*c, n);
  size_t longest = 0;
  for (const tkbench::Allocation& a : made) longest = std::max(longest, a.bytes);
  const std::string source(longest, 'x');
  std::vector<void*> blocks(made.size());
  for (auto _ : state) {
    for (size_t i = 0; i < made.size(); ++i) {
      blocks[i] = made[i].pool == twinekit::native::Pool::kScratch
                      ? CoTaskMemAlloc(made[i].bytes)
                      : SysAllocStringByteLen(source.data(), static_cast<UINT>(made[i].bytes));
    }
    benchmark::DoNotOptimize(blocks.data());
    for (size_t i = made.size(); i-- > 0;) {
      if (made[i].pool == twinekit::native::Pool::kScratch) CoTaskMemFree(blocks[i]);
      else SysFreeString(static_cast<BSTR>(blocks[i]));
    }
  }
  state.SetLabel(FloorLabel(made));
}

constexpr size_t kFloorSize = 16;

void Register(const tkbench::ExportCase& c, size_t n) {
  const std::string name = tkbench::CaseName(c) + "/" + std::to_string(n);
  benchmark::RegisterBenchmark(name.c_str(), RunExport, &c, n);
  if (n == kFloorSize) {
    benchmark::RegisterBenchmark(("floor/" + name).c_str(), RunFloor, &c, n);
  }
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
