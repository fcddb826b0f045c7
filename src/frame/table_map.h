// Every byte of a text through a table of all 256 values, by the kernel
// of the chosen form that suits the table.
#pragma once

#include <cstdint>

#include "frame/bytes.h"
#include "frame/kernels/kernel_table.h"

namespace twinekit {

// out[i] = table[in[i]]; out is in.data() itself or room for in.size()
// bytes apart from in.
inline void MapThroughTable(Bytes in, uint8_t* out, const ByteTable& table) {
  kernels::Kernels().map->table(in, out, table);
}

// As MapThroughTable, for a table that sends every value outside
// candidates to itself: when few values change, by compares against them.
void MapThroughChanges(Bytes in, uint8_t* out, const ByteTable& table, Bytes candidates);

}  // namespace twinekit
