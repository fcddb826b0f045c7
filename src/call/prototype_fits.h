// Whether a parameter or result type of a prototype in twinekit.h is what
// the export table's kind letter stands for.  The callers of the exports
// through their prototypes check every prototype against the table with
// these at compile time.
#pragma once

#include <cstdint>
#include <type_traits>

#include "twinekit.h"

namespace twinekit {

template <typename T>
constexpr bool ArgumentFits(char kind) {
  if constexpr (std::is_same_v<T, BSTR*>) return kind == 'R' || kind == 'W';
  else if constexpr (std::is_same_v<T, BSTR>) return kind == 'V';
  else if constexpr (std::is_same_v<T, int32_t>) return kind == 'L' || kind == 'I';
  else if constexpr (std::is_same_v<T, VARIANT*>) return kind == 'X';
  else return false;
}

// A Variant result comes by value natively; on Windows through the address
// passed first, which the callers read apart.
template <typename R>
constexpr bool ResultFits(char kind) {
  if constexpr (std::is_same_v<R, BSTR>) return kind == 'S';
  else if constexpr (std::is_same_v<R, int16_t>) return kind == 'I';
  else if constexpr (std::is_same_v<R, int32_t>) return kind == 'L';
  else if constexpr (std::is_same_v<R, VARIANT>) return kind == 'X';
  else if constexpr (std::is_void_v<R>) return kind == 'N';
  else return false;
}

}  // namespace twinekit
