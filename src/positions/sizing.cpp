#include "positions/positions.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "frame/result.h"
#include "frame/short_copy.h"
#include "frame/word_bits.h"

namespace twinekit::positions {
namespace {

// Lays filler end to end over out (at most kShortCopy bytes) from the
// filler itself, one repetition at a time: doubling a filled prefix would
// read back bytes just written, and each such read waits on the stores.
void LayShort(MutableBytes out, Bytes filler) {
  if (filler.size() == 1) return FillRun(out.data(), filler[0], out.size());
  size_t at = 0;
  for (; out.size() - at > filler.size(); at += filler.size()) {
    CopyRun(out.data() + at, filler.data(), filler.size());
  }
  CopyRun(out.data() + at, filler.data(), out.size() - at);
}

// The first 16 bytes of a filler of 2 to 8 bytes laid end to end, as two
// words built in registers: the filler doubled in one word until it fills
// it, then the bytes from 8 on, which are the pattern read from its phase
// s = 8 mod k: the word shifted down by s bytes, its missing top bytes taken
// from the pattern's start (they repeat the bytes 8 - s bytes before).
void LayFirst16(uint8_t* out, Bytes filler) {
  constexpr uint8_t kPhaseOf8[9] = {0, 0, 0, 2, 0, 3, 2, 1, 0};  // 8 mod k
  const size_t k = filler.size();
  uint64_t first = words::LoadShort(filler.data(), k);
  for (size_t laid = k; laid < 8; laid *= 2) first |= first << (8 * laid);
  const size_t s = kPhaseOf8[k];
  const uint64_t second = s == 0 ? first : first >> (8 * s) | first << (8 * (8 - 2 * s));
  words::StoreHeadTail(out, 16, {first, second});
}

// Lays filler end to end over out, the last repetition cut where out ends.
void Repeat(MutableBytes out, Bytes filler) {
  size_t done = std::min(out.size(), kShortCopy);
  if (std::endian::native == std::endian::little && filler.size() >= 2 && filler.size() <= 8 &&
      out.size() >= 16) {
    LayFirst16(out.data(), filler);
    if (done < out.size()) done -= done % filler.size();
  } else if (filler.size() < kShortCopy) {
    LayShort(out.first(done), filler);
    // Whole repetitions only, so that each copy below starts on one.
    if (done < out.size()) done -= done % filler.size();
  } else {
    done = std::min(filler.size(), out.size());
    CopyRun(out.data(), filler.data(), done);
  }
  // Double the filled prefix until the target is full: O(n) bytes copied.
  while (done < out.size()) {
    const size_t chunk = std::min(done - done % filler.size(), out.size() - done);
    std::memcpy(out.data() + done, out.data(), chunk);
    done += chunk;
  }
}

}  // namespace

BSTR Truncate(Bytes txt, int32_t new_length) {
  if (txt.empty() || new_length < 1) return EmptyResult();
  const size_t k = std::min<uint64_t>(static_cast<uint64_t>(new_length), txt.size());
  return BuildWholeResult(k, [&](MutableBytes out) { CopyRun(out.data(), txt.data(), k); });
}

BSTR TruncateOrPad(Bytes txt, int32_t new_length, Bytes filler) {
  if (txt.empty() || new_length < 1) return EmptyResult();
  const uint8_t fill = FirstByteOr(filler, 0);
  const size_t length = static_cast<size_t>(new_length);
  return BuildWholeResult(length, [&](MutableBytes out) {
    const size_t kept = std::min(length, txt.size());
    CopyRun(out.data(), txt.data(), kept);
    FillRun(out.data() + kept, fill, length - kept);
  });
}

BSTR CreateFilled(int32_t length, Bytes filler) {
  if (filler.empty() || length < 1) return EmptyResult();
  return BuildWholeResult(static_cast<size_t>(length),
                          [&](MutableBytes out) { Repeat(out, filler); });
}

bool FillInPlace(MutableBytes txt, Bytes filler) {
  if (txt.empty() || filler.empty()) return false;
  Repeat(txt, filler);
  return true;
}

BSTR Align(Bytes txt, int16_t mode, int32_t width) {
  if (txt.empty() || width < 1) return EmptyResult();
  const size_t w = static_cast<size_t>(width);
  if (w <= txt.size()) return ResultFromRun(txt.first(w));
  const size_t pad = w - txt.size();
  const size_t left = mode < 0 ? pad : mode == 0 ? pad - pad / 2 : 0;
  return BuildWholeResult(w, [&](MutableBytes out) {
    FillRun(out.data(), ' ', left);
    CopyRun(out.data() + left, txt.data(), txt.size());
    FillRun(out.data() + left + txt.size(), ' ', pad - left);
  });
}

}  // namespace twinekit::positions
