#include "charsets/filters.h"

#include <algorithm>
#include <cstring>

#include "frame/byte_set.h"
#include "frame/result.h"

namespace twinekit::charsets {
namespace {

// The bytes of txt whose membership in chars is `keep_members`.
BSTR KeepByMembership(Bytes txt, Bytes chars, bool keep_members) {
  if (txt.empty()) return EmptyResult();
  if (chars.empty()) return CopyOfText(txt);
  const ByteSet set(chars);
  return BuildResult(txt.size(), [&](MutableBytes out) {
    size_t written = 0;
    for (const uint8_t b : txt) {
      if (set.Contains(b) == keep_members) out[written++] = b;
    }
    return written;
  });
}

}  // namespace

TK_INTEGER CheckChars(Bytes txt, Bytes chars) {
  if (txt.empty() || chars.empty() || chars.size() > kMaxCheckSet) return kFalse;
  // Each distinct value of the set is crossed off the first time the text
  // shows it; a value listed twice is one value to find.
  ByteSet wanted;
  size_t missing = 0;
  for (const uint8_t b : chars) {
    if (!wanted.Contains(b)) {
      wanted.Add(b);
      ++missing;
    }
  }
  ByteSet found;
  for (const uint8_t b : txt) {
    if (!wanted.Contains(b) || found.Contains(b)) continue;
    found.Add(b);
    if (--missing == 0) return kTrue;
  }
  return kFalse;
}

BSTR FilterChars(Bytes txt, Bytes chars) { return KeepByMembership(txt, chars, false); }

BSTR FilterNotChars(Bytes txt, Bytes chars) { return KeepByMembership(txt, chars, true); }

// The result is built in a scratch buffer like the other filters' (rather
// than made straight from txt), so that it too answers a scratch buffer it
// cannot have with the empty result.
BSTR FilterFirstChars(Bytes txt, Bytes prefix) {
  if (txt.empty()) return EmptyResult();
  if (prefix.empty()) return CopyOfText(txt);
  const bool starts_with =
      prefix.size() <= txt.size() && std::equal(prefix.begin(), prefix.end(), txt.begin());
  const Bytes rest = starts_with ? txt.subspan(prefix.size()) : txt;
  return BuildResult(txt.size(), [&](MutableBytes out) {
    if (!rest.empty()) std::memcpy(out.data(), rest.data(), rest.size());
    return rest.size();
  });
}

}  // namespace twinekit::charsets
