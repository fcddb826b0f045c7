// The limits and peers the exports are compared with, at the same sizes
// and on the same inputs: memcpy (the ratio every figure is given as),
// byte and substring scans, a byte map through a 256-entry table, glibc's
// iconv to EBCDIC and fnmatch, a plain find-and-replace loop, and the
// allocation and copy of a BSTR that every export returning a string pays.
// CPython's bytes.replace is timed apart (benchmarks/cpython_replace.py).
#include <benchmark/benchmark.h>
#include <fnmatch.h>
#include <iconv.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <string>
#include <utility>
#include <string_view>

#include "frame/platform.h"
#include "inputs.h"

namespace {

using Peer = void (*)(benchmark::State&, size_t);

void Memcpy(benchmark::State& state, size_t n) {
  const std::string src = tkbench::Prose(n);
  std::string dst(n, '\0');
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), n);
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
}

// A byte that the text does not hold: the scan runs to its end.
void Memchr(benchmark::State& state, size_t n) {
  const std::string text = tkbench::Fields(n);
  for (auto _ : state) benchmark::DoNotOptimize(std::memchr(text.data(), '~', n));
}

void Memmem(benchmark::State& state, size_t n) {
  const std::string text = tkbench::Fields(n);
  const std::string_view needle = "Zanzibar";
  for (auto _ : state) {
    benchmark::DoNotOptimize(memmem(text.data(), n, needle.data(), needle.size()));
  }
}

// A permutation of the byte values, so that no byte maps to itself by rule.
std::array<uint8_t, 256> ShuffledTable() {
  std::array<uint8_t, 256> t{};
  std::iota(t.begin(), t.end(), 0);
  uint32_t state = 12345;
  for (size_t i = t.size() - 1; i > 0; --i) {
    state = state * 1103515245u + 12345u;
    std::swap(t[i], t[(state >> 16) % (i + 1)]);
  }
  return t;
}

void TableMap(benchmark::State& state, size_t n) {
  const std::array<uint8_t, 256> table = ShuffledTable();
  std::string text = tkbench::Prose(n);
  for (auto _ : state) {
    for (char& c : text) c = static_cast<char>(table[static_cast<uint8_t>(c)]);
    benchmark::DoNotOptimize(text.data());
    benchmark::ClobberMemory();
  }
}

void IconvEbcdic(benchmark::State& state, size_t n) {
  const iconv_t cd = iconv_open("IBM500", "ISO-8859-1");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    state.SkipWithError("iconv has no IBM500 here");
    return;
  }
  std::string text = tkbench::Prose(n);
  std::string out(n, '\0');
  for (auto _ : state) {
    char* in = text.data();
    char* to = out.data();
    size_t in_left = n, out_left = n;
    benchmark::DoNotOptimize(iconv(cd, &in, &in_left, &to, &out_left));
    benchmark::ClobberMemory();
  }
  iconv_close(cd);
}

void Fnmatch(benchmark::State& state, const char* pattern, size_t n) {
  const std::string text = tkbench::Fields(n);
  for (auto _ : state) benchmark::DoNotOptimize(fnmatch(pattern, text.c_str(), 0));
}
void FnmatchPlain(benchmark::State& state, size_t n) { Fnmatch(state, tkbench::kPlainPattern, n); }
void FnmatchExt(benchmark::State& state, size_t n) { Fnmatch(state, tkbench::kExtPattern, n); }

std::string ReplaceAll(const std::string& text, std::string_view find, std::string_view with) {
  std::string out;
  out.reserve(text.size());
  size_t from = 0;
  for (size_t hit; (hit = text.find(find, from)) != std::string::npos; from = hit + find.size()) {
    out.append(text, from, hit - from);
    out.append(with);
  }
  out.append(text, from);
  return out;
}

void Replace(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReplaceAll(text, tkbench::kFind, tkbench::kReplace));
  }
}
void ReplaceMatch(benchmark::State& state, size_t n) { Replace(state, tkbench::Prose(n)); }
void ReplaceNoMatch(benchmark::State& state, size_t n) {
  Replace(state, tkbench::ProseWithoutAbc(n));
}

void BstrCopy(benchmark::State& state, size_t n) {
  const std::string text = tkbench::Prose(n);
  for (auto _ : state) {
    BSTR s = SysAllocStringByteLen(text.data(), static_cast<UINT>(n));
    benchmark::DoNotOptimize(s);
    SysFreeString(s);
  }
}

// A new BSTR of a BSTR's bytes from its second byte on, the copy that
// taking all but the first byte makes.
void BstrCopyOffset(benchmark::State& state, size_t n) {
  const std::string text = tkbench::Prose(n);
  BSTR source = SysAllocStringByteLen(text.data(), static_cast<UINT>(n));
  for (auto _ : state) {
    BSTR s = SysAllocStringByteLen(reinterpret_cast<const char*>(source) + 1,
                                   static_cast<UINT>(n - 1));
    benchmark::DoNotOptimize(s);
    SysFreeString(s);
  }
  SysFreeString(source);
}

struct PeerEntry {
  const char* name;
  Peer run;
};

constexpr PeerEntry kPeers[] = {
    {"memcpy", Memcpy},
    {"memchr", Memchr},
    {"memmem", Memmem},
    {"table-map", TableMap},
    {"iconv-IBM500", IconvEbcdic},
    {"fnmatch:plain", FnmatchPlain},
    {"fnmatch:ext", FnmatchExt},
    {"string-replace", ReplaceMatch},
    {"string-replace:nomatch", ReplaceNoMatch},
    {"bstr-copy", BstrCopy},
    {"bstr-copy:offset", BstrCopyOffset},
};

void RunPeer(benchmark::State& state, Peer run, size_t n) {
  run(state, n);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(n));
}

// With TK_BENCH_INPUTS=DIR, the texts of the search-and-replace cases are
// written to DIR (prose-N.txt, prose-nomatch-N.txt), so that peers outside
// this program (CPython's bytes.replace, by scripts/bench.sh) time the
// same bytes.
void WriteReplaceInputs(const char* dir) {
  for (size_t n : tkbench::kSizes) {
    for (const auto& [name, text] : {std::pair{"prose", tkbench::Prose(n)},
                                     std::pair{"prose-nomatch", tkbench::ProseWithoutAbc(n)}}) {
      const std::string path = std::string(dir) + "/" + name + "-" + std::to_string(n) + ".txt";
      if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
      }
    }
  }
}

[[maybe_unused]] const bool kRegistered = [] {
  if (const char* dir = std::getenv("TK_BENCH_INPUTS")) WriteReplaceInputs(dir);
  for (const PeerEntry& p : kPeers) {
    for (size_t n : tkbench::kSizes) {
      const std::string name = std::string("peer/") + p.name + "/" + std::to_string(n);
      benchmark::RegisterBenchmark(name.c_str(), RunPeer, p.run, n);
    }
  }
  return true;
}();

}  // namespace
