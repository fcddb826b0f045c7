// Plain wildcard matching: "*" and "?" only.
#pragma once

#include "frame/bytes.h"

namespace twinekit::patterns {

// Whether txt matches pattern, each read up to its first zero byte.
//
// "?" matches any one byte and every other byte itself, except that the
// byte after a "*" always goes with it: "*k" matches any run of bytes
// followed by one byte that k matches ("?" any byte, anything else itself,
// a "*" included).  A "*" that ends the pattern matches any run, even an
// empty one.
bool PlainMatch(Bytes txt, Bytes pattern);

}  // namespace twinekit::patterns
