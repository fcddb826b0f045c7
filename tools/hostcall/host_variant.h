// A Variant argument as a Basic host holds it around a call: the Variant it
// passes and, for one by reference, the variable it points to, which may be
// a Variant by reference in turn.  Built the same way natively and on
// Windows, from the values of a case line.
#pragma once

#include <array>
#include <string>

#include "twinekit.h"
#include "values.h"

namespace tkhost {

class HostVariant {
 public:
  explicit HostVariant(const VariantValue& v);
  ~HostVariant();
  HostVariant(const HostVariant&) = delete;
  HostVariant& operator=(const HostVariant&) = delete;

  // The Variant the host passes.
  VARIANT* get() { return &cells_[0]; }

  // True when the Variant and every variable behind it hold what they were
  // made with, strings included.
  bool Unchanged() const;

  // True when p is one of the Variants or a string they hold.
  bool Holds(const void* p) const;

 private:
  // A plain Variant, then what each by-reference cell points into.
  static constexpr size_t kCells = 4;
  size_t Fill(const VariantValue& v, size_t at);

  std::array<VARIANT, kCells> cells_{};
  std::array<VARIANT, kCells> made_{};
  std::array<std::u16string, kCells> texts_;
};

}  // namespace tkhost
