// Byte maps a byte at a time: the reference every other form answers
// alike, and the short texts and last bytes of the vector forms.
#include "frame/byte_map.h"
#include "frame/kernels/kernel_table.h"

namespace twinekit::kernels {
namespace {

// A block's bytes all read before any is written, which a loop of single
// bytes, whose stores might change the table, cannot do.
void Table(Bytes in, uint8_t* out, const ByteTable& table) {
  MapEachByte(in, MutableBytes(out, in.size()), [&](uint8_t b) { return table[b]; });
}

void Few(Bytes in, uint8_t* out, Bytes from, const uint8_t* to) {
  for (size_t i = 0; i < in.size(); ++i) {
    uint8_t b = in[i];
    for (size_t k = 0; k < from.size(); ++k) {
      if (b == from[k]) {
        b = to[k];
        break;
      }
    }
    out[i] = b;
  }
}

}  // namespace

const MapKernels kPlainMaps = {Table, Few, 0};

}  // namespace twinekit::kernels
