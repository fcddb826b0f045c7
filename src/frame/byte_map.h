// A byte map: every byte of a text put through a function, into an output
// of the same length (which may be the text itself).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "frame/bytes.h"

namespace twinekit {

// out[i] = map(txt[i]) for every byte.  Whole blocks of 16 go through a
// local block, so that the compiler, free of any question of overlap,
// maps each block with vector code; the last bytes go one by one.
template <typename Map>
void MapEachByte(Bytes txt, MutableBytes out, Map map) {
  size_t i = 0;
  for (; i + 16 <= txt.size(); i += 16) {
    uint8_t block[16];
    std::memcpy(block, txt.data() + i, 16);
    for (uint8_t& b : block) b = map(b);
    std::memcpy(out.data() + i, block, 16);
  }
  for (; i < txt.size(); ++i) out[i] = map(txt[i]);
}

}  // namespace twinekit
