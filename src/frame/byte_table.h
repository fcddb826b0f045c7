// A map of all 256 byte values as a table: the image of byte b is
// table[b].
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace twinekit {

using ByteTable = std::array<uint8_t, 256>;

// The table of rule(b) for every byte b, modulo 256.
template <typename Rule>
constexpr ByteTable MakeByteTable(Rule rule) {
  ByteTable table{};
  for (size_t b = 0; b < 256; ++b) table[b] = static_cast<uint8_t>(rule(static_cast<uint8_t>(b)));
  return table;
}

}  // namespace twinekit
