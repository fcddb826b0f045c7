// A scratch buffer: working memory from the COM task allocator, held for
// the duration of one call and released when the buffer goes out of scope.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/bytes.h"

namespace twinekit {

class ScratchBuffer {
 public:
  explicit ScratchBuffer(size_t size)
      : data_(static_cast<uint8_t*>(CoTaskMemAlloc(size))), size_(data_ ? size : 0) {}
  ~ScratchBuffer() { CoTaskMemFree(data_); }
  ScratchBuffer(const ScratchBuffer&) = delete;
  ScratchBuffer& operator=(const ScratchBuffer&) = delete;

  bool ok() const { return data_ != nullptr; }
  MutableBytes bytes() { return {data_, size_}; }

 private:
  uint8_t* data_;
  size_t size_;
};

}  // namespace twinekit
