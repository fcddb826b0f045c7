// The wildcard matchers on hostile inputs.  Every case takes time at most
// proportional to the text's length times the pattern's; the ones that
// would make an exhaustive matcher explode stay linear in the text.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "patterns/match.h"

namespace {

using twinekit::Bytes;

Bytes AsBytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

std::string Repeat(const std::string& unit, int64_t times) {
  std::string s;
  for (int64_t i = 0; i < times; ++i) s += unit;
  return s;
}

void Run(benchmark::State& state, const std::string& txt, const std::string& pattern,
         bool extended) {
  for (auto _ : state) {
    if (extended) {
      benchmark::DoNotOptimize(twinekit::patterns::PatternExtMatch(AsBytes(txt), AsBytes(pattern)));
    } else {
      benchmark::DoNotOptimize(twinekit::patterns::PlainMatch(AsBytes(txt), AsBytes(pattern)));
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(txt.size()));
}

// "*a*a...*a*b" against a million "a": a near miss for every star.
void BM_StarsNearMiss(benchmark::State& state, bool extended) {
  const std::string txt(1000000, 'a');
  std::string pattern = Repeat("*a", state.range(0));
  pattern += "*b";
  Run(state, txt, pattern, extended);
}

// "*aaa...ab" against a run of "a": every place of the segment fails at
// its end, the worst shape there is.
void BM_LongSegment(benchmark::State& state, bool extended) {
  const std::string txt(static_cast<size_t>(state.range(0)), 'a');
  std::string pattern = "*";
  pattern.append(static_cast<size_t>(state.range(1)), 'a');
  pattern += 'b';
  Run(state, txt, pattern, extended);
}

// A pattern as long as its text, element for element.
void BM_LongPattern(benchmark::State& state, bool extended) {
  const std::string txt(static_cast<size_t>(state.range(0)), 'x');
  Run(state, txt, std::string(static_cast<size_t>(state.range(0)), '?'), extended);
}

// A set after a star, tried at each of a million places.
void BM_SetAfterStar(benchmark::State& state) {
  const std::string txt(1000000, 'a');
  Run(state, txt, "*[!a]", true);
}

BENCHMARK_CAPTURE(BM_StarsNearMiss, plain, false)->Arg(8)->Arg(1000)->Arg(100000);
BENCHMARK_CAPTURE(BM_StarsNearMiss, extended, true)->Arg(8)->Arg(1000)->Arg(100000);
BENCHMARK_CAPTURE(BM_LongSegment, plain, false)
    ->Args({100000, 10})
    ->Args({100000, 100})
    ->Args({1000000, 10});
BENCHMARK_CAPTURE(BM_LongSegment, extended, true)
    ->Args({100000, 10})
    ->Args({100000, 100})
    ->Args({1000000, 10});
BENCHMARK_CAPTURE(BM_LongPattern, plain, false)->Arg(10000)->Arg(1000000);
BENCHMARK_CAPTURE(BM_LongPattern, extended, true)->Arg(10000)->Arg(1000000);
BENCHMARK(BM_SetAfterStar);

}  // namespace
