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

// Builds a result whose length is known before the work straight in the
// result string: build(out) fills all of out's `length` bytes.  The
// working area of `capacity` bytes is still taken, and released before
// this returns, though nothing is written to it: a call that cannot have
// it answers as one that builds in it does, with the empty result, and the
// allocations come in the same order, the working area and then the
// result.  The bytes are written once, not built and then copied.
template <typename Build>
BSTR BuildResultInPlace(std::optional<size_t> capacity, size_t length, Build build) {
  if (!capacity) return EmptyResult();
  const ScratchBuffer reserved(*capacity);
  if (!reserved.ok()) return EmptyResult();
  if (length == 0) return EmptyResult();
  if (length > UINT32_MAX) return nullptr;
  const BSTR result = SysAllocStringByteLen(nullptr, static_cast<UINT>(length));
  if (result == nullptr) return nullptr;
  build(MutableBytes(reinterpret_cast<uint8_t*>(result), length));
  return result;
}

// The same for a result as long as the working area.
template <typename Build>
BSTR BuildWholeResult(std::optional<size_t> length, Build build) {
  return BuildResultInPlace(length, length.value_or(0), build);
}

}  // namespace twinekit
