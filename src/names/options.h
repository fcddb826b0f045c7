// The option bits of the full name capitalisation; every other bit of the
// Integer is ignored.
#pragma once

#include <cstdint>

namespace twinekit::names {

struct NameOptions {
  bool fold_before_matching = false;  // 1: lower the text before searching
  bool capital_after_punct = false;   // 2: a capital after punctuation too
  bool keep_exception_case = false;   // 4: whole-word exceptions keep the text's case
  bool prefixes = false;              // 8: exception words are also prefixes

  static constexpr NameOptions FromBits(int16_t bits) {
    NameOptions o;
    o.fold_before_matching = (bits & 1) != 0;
    o.capital_after_punct = (bits & 2) != 0;
    o.keep_exception_case = (bits & 4) != 0;
    o.prefixes = (bits & 8) != 0;
    return o;
  }
};

}  // namespace twinekit::names
