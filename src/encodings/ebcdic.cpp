#include "encodings/encodings.h"

#include "frame/table_map.h"

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

bool TranslateInPlace(MutableBytes txt, const ByteTable& table) {
  if (txt.empty()) return false;
  MapThroughTable(txt, txt.data(), table);
  return true;
}

}  // namespace twinekit::encodings
