#include "host_variant.h"

#include <cstring>
#include <vector>

namespace tkhost {
namespace {

std::u16string TextOf(const VARIANT& v) {
  if (v.vt != kVtBstr || v.bstrVal == nullptr) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(v.bstrVal), SysStringLen(v.bstrVal));
}

// The value area of a Variant, at offset 8 whatever the platform's union
// calls it; a by-reference Variant keeps its pointer there.
void SetPointer(VARIANT& v, const void* p) { std::memcpy(&v.lVal, &p, sizeof p); }

}  // namespace

HostVariant::HostVariant(const VariantValue& v) {
  for (VARIANT& cell : cells_) VariantInit(&cell);
  Fill(v, 0);
  made_ = cells_;
  for (size_t i = 0; i < kCells; ++i) texts_[i] = TextOf(cells_[i]);
}

HostVariant::~HostVariant() {
  for (VARIANT& cell : cells_) VariantClear(&cell);
}

// Makes cells_[at] hold v and returns the next free cell.  A by-reference
// Variant points into the next cell: at a Variant for VT_VARIANT, at a
// whole DECIMAL, else at the value area of a Variant of the target type.
size_t HostVariant::Fill(const VariantValue& v, size_t at) {
  VARIANT& cell = cells_[at];
  if ((v.vt & kVtByRef) == 0) {
    const std::array<uint8_t, 16> image = VariantImage(v);
    std::memcpy(&cell, image.data(), image.size());
    if (v.vt == kVtBstr) {
      const std::vector<OLECHAR> wide(v.text.begin(), v.text.end());
      cell.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    }
    return at + 1;
  }
  size_t next = at + 1;
  if (next == kCells) return next;  // deeper than the syntax lets a case go
  VARIANT& target = cells_[next];
  if (v.vt == (kVtVariant | kVtByRef)) {
    next = v.referent.empty() ? next + 1 : Fill(v.referent[0], next);
    SetPointer(cell, &target);
  } else {
    VariantValue plain = v;
    plain.vt &= static_cast<uint16_t>(~kVtByRef);
    next = Fill(plain, next);
    SetPointer(cell, plain.vt == kVtDecimal ? static_cast<const void*>(&target)
                                            : static_cast<const void*>(&target.lVal));
  }
  cell.vt = v.vt;
  return next;
}

bool HostVariant::Unchanged() const {
  for (size_t i = 0; i < kCells; ++i) {
    const bool same = std::memcmp(&cells_[i], &made_[i], sizeof(VARIANT)) == 0;
    if (!same || TextOf(cells_[i]) != texts_[i]) return false;
  }
  return true;
}

bool HostVariant::Holds(const void* p) const {
  for (const VARIANT& cell : cells_) {
    if (p == &cell || (cell.vt == kVtBstr && p == cell.bstrVal && p != nullptr)) return true;
  }
  return false;
}

}  // namespace tkhost
