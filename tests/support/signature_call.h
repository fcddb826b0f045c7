// Calls an export through a plain function pointer, typed from its kinds in
// the export table.  Portable to every convention in which each argument is
// its own integer or pointer slot: the native build and 64-bit Windows.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>

#include "twinekit.h"

namespace tksupport {

// One argument slot, filled for the kind the export declares.
struct Slot {
  BSTR* ref = nullptr;
  BSTR value = nullptr;
  int32_t number = 0;
  VARIANT* variant = nullptr;
};

// What came back, by result kind.
struct Returned {
  BSTR string = nullptr;
  int64_t number = 0;
  VARIANT variant{};
};

template <char K>
auto Pick(const Slot& s) {
  if constexpr (K == 'R' || K == 'W') return s.ref;
  else if constexpr (K == 'V') return s.value;
  else if constexpr (K == 'L' || K == 'I') return s.number;
  else return s.variant;
}

template <char Result, char... Kinds, size_t... I>
Returned CallTyped(void* fn, const Slot* slots, std::index_sequence<I...>) {
  Returned out;
  if constexpr (Result == 'S') {
    using Fn = BSTR (*)(decltype(Pick<Kinds>(Slot{}))...);
    out.string = reinterpret_cast<Fn>(fn)(Pick<Kinds>(slots[I])...);
  } else if constexpr (Result == 'I') {
    using Fn = int16_t (*)(decltype(Pick<Kinds>(Slot{}))...);
    out.number = reinterpret_cast<Fn>(fn)(Pick<Kinds>(slots[I])...);
  } else if constexpr (Result == 'L') {
    using Fn = int32_t (*)(decltype(Pick<Kinds>(Slot{}))...);
    out.number = reinterpret_cast<Fn>(fn)(Pick<Kinds>(slots[I])...);
  } else if constexpr (Result == 'N') {
    using Fn = void (*)(decltype(Pick<Kinds>(Slot{}))...);
    reinterpret_cast<Fn>(fn)(Pick<Kinds>(slots[I])...);
  } else {
#ifdef _WIN32
    // The Variant comes back through a result address passed first.
    using Fn = VARIANT* (*)(VARIANT*, decltype(Pick<Kinds>(Slot{}))...);
    reinterpret_cast<Fn>(fn)(&out.variant, Pick<Kinds>(slots[I])...);
#else
    using Fn = VARIANT (*)(decltype(Pick<Kinds>(Slot{}))...);
    out.variant = reinterpret_cast<Fn>(fn)(Pick<Kinds>(slots[I])...);
#endif
  }
  return out;
}

template <char Result, char... Kinds>
Returned Call(void* fn, const Slot* slots) {
  return CallTyped<Result, Kinds...>(fn, slots, std::index_sequence_for<decltype(Kinds)...>{});
}

using Caller = Returned (*)(void*, const Slot*);

// Every signature the export table holds: argument kinds, result kind.
struct SignatureEntry {
  std::string_view args;
  char result;
  Caller call;
};

inline constexpr SignatureEntry kSignatures[] = {
    {"LR", 'S', Call<'S', 'L', 'R'>},       {"R", 'I', Call<'I', 'R'>},
    {"R", 'N', Call<'N', 'R'>},             {"R", 'S', Call<'S', 'R'>},
    {"R", 'X', Call<'X', 'R'>},             {"RIL", 'S', Call<'S', 'R', 'I', 'L'>},
    {"RL", 'S', Call<'S', 'R', 'L'>},       {"RLL", 'S', Call<'S', 'R', 'L', 'L'>},
    {"RLR", 'S', Call<'S', 'R', 'L', 'R'>}, {"RR", 'I', Call<'I', 'R', 'R'>},
    {"RR", 'S', Call<'S', 'R', 'R'>},       {"RRL", 'S', Call<'S', 'R', 'R', 'L'>},
    {"RRR", 'S', Call<'S', 'R', 'R', 'R'>}, {"RVI", 'S', Call<'S', 'R', 'V', 'I'>},
    {"V", 'I', Call<'I', 'V'>},             {"V", 'L', Call<'L', 'V'>},
    {"V", 'S', Call<'S', 'V'>},             {"VV", 'I', Call<'I', 'V', 'V'>},
    {"VV", 'L', Call<'L', 'V', 'V'>},       {"VVV", 'I', Call<'I', 'V', 'V', 'V'>},
    {"VVVI", 'S', Call<'S', 'V', 'V', 'V', 'I'>},
    {"W", 'I', Call<'I', 'W'>},             {"WR", 'I', Call<'I', 'W', 'R'>},
    {"WRR", 'I', Call<'I', 'W', 'R', 'R'>}, {"WRRR", 'I', Call<'I', 'W', 'R', 'R', 'R'>},
    {"X", 'S', Call<'S', 'X'>},
};

inline Caller FindCaller(std::string_view args, char result) {
  for (const SignatureEntry& s : kSignatures) {
    if (s.args == args && s.result == result) return s.call;
  }
  return nullptr;
}

// An Integer argument as a host leaves it in its slot: the value in the low
// 16 bits and whatever was there before in the upper 16.
inline int32_t IntegerSlot(int64_t value) {
  return static_cast<int32_t>(0xA5C30000u | (static_cast<uint32_t>(value) & 0xFFFFu));
}

}  // namespace tksupport
