#include "allocation_watch.h"

#include <objbase.h>
#include <oleauto.h>

#include <map>

namespace tkharness {
namespace {

// The allocator calls this around each of its operations.  It only keeps
// the blocks allocated while recording and not yet freed.  (COM interfaces
// have no virtual destructor by design; this one lives for the whole run.)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class Spy final : public IMallocSpy {
 public:
  bool recording = false;
  std::map<const void*, size_t> live;
  size_t allocations = 0, frees = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMallocSpy)) {
      *out = static_cast<IMallocSpy*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // static lifetime
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override {
    pending_size_ = size;
    return size;
  }
  void* STDMETHODCALLTYPE PostAlloc(void* block) override {
    if (recording && block != nullptr) {
      live[block] = pending_size_;
      ++allocations;
    }
    return block;
  }
  void* STDMETHODCALLTYPE PreFree(void* block, BOOL) override {
    if (recording && block != nullptr) {
      live.erase(block);
      ++frees;
    }
    return block;
  }
  void STDMETHODCALLTYPE PostFree(BOOL) override {}
  SIZE_T STDMETHODCALLTYPE PreRealloc(void* block, SIZE_T size, void** passed, BOOL) override {
    *passed = block;
    pending_block_ = block;
    pending_size_ = size;
    return size;
  }
  void* STDMETHODCALLTYPE PostRealloc(void* block, BOOL) override {
    if (recording) {
      live.erase(pending_block_);
      if (block != nullptr) live[block] = pending_size_;
    }
    return block;
  }
  void* STDMETHODCALLTYPE PreGetSize(void* block, BOOL) override { return block; }
  SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
  void* STDMETHODCALLTYPE PreDidAlloc(void* block, BOOL) override { return block; }
  int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int answer) override { return answer; }
  void STDMETHODCALLTYPE PreHeapMinimize() override {}
  void STDMETHODCALLTYPE PostHeapMinimize() override {}

 private:
  size_t pending_size_ = 0;
  void* pending_block_ = nullptr;
};
#pragma GCC diagnostic pop

Spy g_spy;
bool g_active = false;

}  // namespace

// No CoInitialize: the task allocator works without it, and an apartment
// would make the process create a window, which under Wine starts a desktop
// process too (slow under emulation).
std::string AllocationWatch::Install() {
  if (FAILED(CoRegisterMallocSpy(&g_spy))) return "the allocator refused the watch";
  Begin();
  BSTR probe = SysAllocStringByteLen("probe", 5);
  SysFreeString(probe);
  const size_t allocations = g_spy.allocations, frees = g_spy.frees;
  End();
  if (allocations != 1 || frees != 1) {
    return "BSTRs bypass the allocator (the BSTR cache is on: set OANOCACHE=1)";
  }
  g_active = true;
  return {};
}

bool AllocationWatch::active() { return g_active; }

void AllocationWatch::Begin() {
  g_spy.live.clear();
  g_spy.allocations = g_spy.frees = 0;
  g_spy.recording = true;
}

std::vector<LiveBlock> AllocationWatch::End() {
  g_spy.recording = false;
  std::vector<LiveBlock> out;
  for (const auto& [block, size] : g_spy.live) out.push_back({block, size});
  return out;
}

}  // namespace tkharness
