#include "encodings/ebcdic.h"

namespace twinekit::encodings {
namespace {

constexpr bool AreInverse(const ByteTable& a, const ByteTable& b) {
  for (int x = 0; x < 256; ++x) {
    if (b[a[x]] != x || a[b[x]] != x) return false;
  }
  return true;
}

static_assert(AreInverse(kAsciiToEbcdic, kEbcdicToAscii),
              "the EBCDIC tables must undo each other");

}  // namespace

TK_INTEGER TranslateInPlace(MutableBytes txt, const ByteTable& table) {
  if (txt.empty()) return kFalse;
  for (uint8_t& b : txt) b = table[b];
  return kTrue;
}

}  // namespace twinekit::encodings
