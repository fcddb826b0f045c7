// Texts walked 16 bytes at a time: each whole block copied to a local
// array, so that the compiler, free of any question of overlap, works on
// it with vector code; the last bytes are left to the caller.  Byte maps
// (every byte of a text put through a function, into an output of the same
// length, which may be the text itself) are built on it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "frame/bytes.h"

namespace twinekit {

using Block16 = uint8_t[16];

// Calls block(local, at) for each whole block of 16 bytes, local holding
// a copy of txt[at, at + 16).  A block that returns false stops the walk.
// Returns where the walk stopped: the start of the last bytes (fewer than
// 16), or of the block that stopped it.
template <typename Block>
size_t ForEachBlock(Bytes txt, Block block) {
  size_t at = 0;
  for (; at + 16 <= txt.size(); at += 16) {
    Block16 local;
    std::memcpy(local, txt.data() + at, 16);
    if constexpr (std::is_same_v<decltype(block(local, at)), bool>) {
      if (!block(local, at)) break;
    } else {
      block(local, at);
    }
  }
  return at;
}

// out[i] = map(txt[i]) for every byte.
template <typename Map>
void MapEachByte(Bytes txt, MutableBytes out, Map map) {
  size_t i = ForEachBlock(txt, [&](Block16& block, size_t at) {
    for (uint8_t& b : block) b = map(b);
    std::memcpy(out.data() + at, block, 16);
  });
  for (; i < txt.size(); ++i) out[i] = map(txt[i]);
}

}  // namespace twinekit
