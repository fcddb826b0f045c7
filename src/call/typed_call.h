// Calls an export through its own prototype in twinekit.h, from argument
// slots held by kind: the one place that knows each export's parameter
// types.  Every prototype is checked against the export table at compile
// time.  The faces (COM, the WebAssembly module, tkcall and the tests
// through tools/hostcall) reach the exports this way; ExportCall
// (export_call.h) builds the slots for a face that holds plain values.
#pragma once

#include <array>
#include <cstdint>

#include "exports/export_table.h"
#include "twinekit.h"

namespace twinekit::call {

inline constexpr size_t kMaxArgs = 4;

// One call's arguments by the kind of each parameter: argument i of the
// export is read from the array of its kind, at index i.
struct Slots {
  std::array<BSTR*, kMaxArgs> variables{};   // R, W: the address of a String variable
  std::array<BSTR, kMaxArgs> strings{};      // V: the BSTR itself
  std::array<int32_t, kMaxArgs> numbers{};   // L; I in the low 16 bits
  std::array<VARIANT*, kMaxArgs> variants{};  // X: the caller's Variant
};

// What the export gave back.  A string result belongs to whoever made the
// call; a Variant result holds a Long.
struct Result {
  BSTR string = nullptr;
  int32_t number = 0;  // an Integer sign-extended, or a Long
  VARIANT variant{};
};

using Caller = void (*)(const Slots&, Result&);

// The caller of an export of the table.
Caller CallerOf(const ExportInfo& e);

}  // namespace twinekit::call
