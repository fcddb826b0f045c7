// Byte maps a byte at a time: the reference every other form answers
// alike, and the short texts and last bytes of the vector forms.
#include "frame/kernels/kernel_table.h"

namespace twinekit::kernels {
namespace {

void Table(Bytes in, uint8_t* out, const ByteTable& table) {
  for (size_t i = 0; i < in.size(); ++i) out[i] = table[in[i]];
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
