// Making results: every string result is a new BSTR of exactly its length,
// never null when it is empty, never one of the caller's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "frame/bytes.h"
#include "frame/scratch.h"

namespace twinekit {

// The zero-length BSTR.
BSTR EmptyResult();

// A new BSTR of length bytes from start; the empty result for a length of
// 0 or less, without reading start.
BSTR ResultFromBytes(const uint8_t* start, int64_t length);

// A new BSTR holding the bytes of run (the empty result when it is empty).
BSTR ResultFromRun(Bytes run);

// The copy of the text: what an export gives back when it returns its text
// unchanged.
inline BSTR CopyOfText(Bytes text) { return ResultFromRun(text); }

// Builds a result in a scratch buffer of `capacity` bytes: build(out) writes
// into out and returns how many bytes it wrote.  The buffer is released
// before this returns.  No capacity (an overflowing size) or no memory
// gives the empty result.
template <typename Build>
BSTR BuildResult(std::optional<size_t> capacity, Build build) {
  if (!capacity) return EmptyResult();
  ScratchBuffer scratch(*capacity);
  if (!scratch.ok()) return EmptyResult();
  const size_t length = build(scratch.bytes());
  return ResultFromRun(scratch.bytes().first(length));
}

}  // namespace twinekit
