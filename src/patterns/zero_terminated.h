// A pattern or text as the matchers see it: its bytes up to the first zero
// byte, with that terminator made explicit.  At(i) is 0 at and beyond the
// end, so a scanner can ask "is this the end?" wherever it stands without
// ever reading past the terminating zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "frame/bytes.h"
#include "frame/word_find.h"

namespace twinekit::patterns {

class ZeroTerminated {
 public:
  explicit ZeroTerminated(Bytes bytes) : bytes_(UpToFirstZero(bytes)) {}

  size_t size() const { return bytes_.size(); }
  uint8_t At(size_t i) const { return i < bytes_.size() ? bytes_[i] : 0; }
  bool EndAt(size_t i) const { return i >= bytes_.size(); }

  // The first position from `from` on that holds `b` (never 0), or size().
  size_t Find(uint8_t b, size_t from) const {
    return FindByte(bytes_.data(), from, bytes_.size(), b);
  }

 private:
  Bytes bytes_;
};

}  // namespace twinekit::patterns
