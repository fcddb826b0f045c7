// A scratch buffer: working memory held for the duration of one call and
// released when the buffer goes out of scope.  It comes from the COM task
// allocator, or, for the working copies of the name capitalisation, from
// the platform's string allocator as a BSTR made with no source; either
// way it is never a result.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frame/allocation_failures.h"
#include "frame/bytes.h"

namespace twinekit {

class ScratchBuffer {
 public:
  enum Allocator { kTaskAllocator, kStringAllocator };

  // size is at most kMaxBlockSize (frame/size_math.h), so it fits a BSTR.
  explicit ScratchBuffer(size_t size, Allocator from = kTaskAllocator)
      : from_(from), data_(Allocate(size, from)), size_(data_ ? size : 0) {}
  ~ScratchBuffer() {
    if (from_ == kTaskAllocator) CoTaskMemFree(data_);
    else SysFreeString(reinterpret_cast<BSTR>(data_));
  }
  ScratchBuffer(const ScratchBuffer&) = delete;
  ScratchBuffer& operator=(const ScratchBuffer&) = delete;

  bool ok() const { return data_ != nullptr; }
  MutableBytes bytes() { return {data_, size_}; }

 private:
  static uint8_t* Allocate(size_t size, Allocator from) {
    uint8_t* data = from == kTaskAllocator
                        ? static_cast<uint8_t*>(CoTaskMemAlloc(size))
                        : reinterpret_cast<uint8_t*>(SysAllocStringByteLen(nullptr, static_cast<UINT>(size)));
    if (data == nullptr) NoteAllocationFailure();
    return data;
  }

  Allocator from_;
  uint8_t* data_;
  size_t size_;
};

}  // namespace twinekit
