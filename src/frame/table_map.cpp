#include "frame/table_map.h"

namespace twinekit {
namespace {

// Below this length the table loop costs less than setting up the
// compares.
constexpr size_t kShortestFewMap = 32;

}  // namespace

void MapThroughChanges(Bytes in, uint8_t* out, const ByteTable& table, Bytes candidates) {
  const kernels::MapKernels& map = *kernels::Kernels().map;
  if (in.size() < kShortestFewMap) return map.table(in, out, table);
  uint8_t from[kernels::kMaxFewChanges];
  uint8_t to[kernels::kMaxFewChanges];
  size_t count = 0;
  uint64_t seen[4] = {};
  for (const uint8_t v : candidates) {
    uint64_t& word = seen[v / 64];
    const uint64_t bit = uint64_t{1} << (v % 64);
    if (table[v] == v || (word & bit) != 0) continue;
    if (count == map.few_limit) return map.table(in, out, table);
    word |= bit;
    from[count] = v;
    to[count] = table[v];
    ++count;
  }
  map.few(in, out, Bytes(from, count), to);
}

}  // namespace twinekit
