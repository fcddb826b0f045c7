// The tokenizer: splits a zero-terminated string at any byte of a delimiter
// set, writing a zero byte over each delimiter that ends a token.
//
// The position where the next call goes on is kept in the Tokenizer object.
// Each caller owns one for the split it runs, so two threads splitting at
// once never go on in each other's strings.
#pragma once

#include <cstdint>

namespace twinekit {

class Tokenizer {
 public:
  // Starts a split of s and returns its first token, or null.
  uint8_t* First(uint8_t* s, const uint8_t* delimiters) {
    position_ = s;
    return Next(delimiters);
  }

  // The next token after the previous one, or null when none is left.
  uint8_t* Next(const uint8_t* delimiters);

 private:
  uint8_t* position_ = nullptr;
};

}  // namespace twinekit
