// Hexadecimal digits a byte at a time: the reference every other form
// answers alike.
#include "frame/hex_digits.h"
#include "frame/kernels/kernel_table.h"

namespace twinekit::kernels {
namespace {

// Each byte of in as two upper-case digits, high half first: 2 × in.size()
// bytes to out.
void WriteDigits(Bytes in, uint8_t* out) { WriteHexPairs(in, MutableBytes(out, 2 * in.size())); }

// Each pair of bytes of in as its HexPair: in.size() / 2 bytes to out (an
// odd last byte is left).
void ReadSignedPairs(Bytes in, uint8_t* out) {
  for (size_t k = 0; k < in.size() / 2; ++k) out[k] = HexPair(in[2 * k], in[2 * k + 1]);
}

// Each pair of bytes of in as 16 × PackedDigit(high) + PackedDigit(low).
void ReadPackedPairs(Bytes in, uint8_t* out) {
  for (size_t k = 0; k < in.size() / 2; ++k) {
    out[k] = static_cast<uint8_t>(PackedDigit(in[2 * k]) << 4 | PackedDigit(in[2 * k + 1]));
  }
}

}  // namespace

const HexKernels kPlainHex = {WriteDigits, ReadSignedPairs, ReadPackedPairs};

}  // namespace twinekit::kernels
