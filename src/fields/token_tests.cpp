#include "fields/fields.h"

#include "fields/field_scan.h"
#include "frame/byte_scan.h"
#include "fields/substring_search.h"
#include "frame/result.h"

namespace twinekit::fields {
namespace {

// The host passes the list's length as a 16-bit Integer: byte lengths
// beyond 32767 wrap, and a negative length means no token at all.
int16_t ListLength(Bytes tokens) {
  return static_cast<int16_t>(static_cast<uint16_t>(tokens.size() & 0xFFFFu));
}

}  // namespace

uint8_t ListSeparatorFrom(Bytes sep) { return FirstByteOr(sep, kListSeparator); }

// A token is searched for whole, whatever its length.  (A token is read up
// to its first zero byte, so a list of at most 32767 bytes bounds it; there
// is no fixed token area to outgrow, and no token is ever cut short.)
bool TokensOccur(Bytes txt, Bytes tokens, uint8_t separator, TokenRule rule) {
  if (txt.empty()) return false;
  const int16_t length = ListLength(tokens);
  if (length == 0) return false;
  const bool exhausted_answer = rule == TokenRule::kAll;
  if (length < 0) return exhausted_answer;

  // The text ends at its first zero byte; so does each token.
  const Bytes text = UpToFirstZero(txt);
  const Bytes list = tokens.first(static_cast<size_t>(length));
  for (size_t start = 0; start < list.size();) {
    const size_t end = scan::Find(list, start, separator);
    const Bytes token = UpToFirstZero(list.subspan(start, end - start));
    if (!token.empty() && Contains(text, token) != exhausted_answer) return !exhausted_answer;
    start = end + 1;
  }
  return exhausted_answer;
}

BSTR GetFieldBySet(Bytes txt, Bytes seps, int32_t index) {
  if (txt.empty() || seps.empty()) return EmptyResult();
  return ResultFromRun(FieldFromLeft(txt, index, ByteClass(seps)));
}

}  // namespace twinekit::fields
