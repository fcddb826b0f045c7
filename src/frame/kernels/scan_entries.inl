// The entries of a form's scan table: a form includes this file inside its
// target region and namespace (see form_target.h) once it has its
// matchers OneValue, ByRuns and BySet, and KeepOp, its Keep on a matcher.

size_t Count(Bytes s, const ByteClass& c) { return ByMatcher<OneValue, ByRuns, BySet>(c, CountOp{s}); }
size_t FindNth(Bytes s, size_t from, const ByteClass& c, size_t n) {
  return ByMatcher<OneValue, ByRuns, BySet>(c, FindNthOp{s, from, n});
}
size_t FindNthLast(Bytes s, size_t end, const ByteClass& c, size_t n) {
  return ByMatcher<OneValue, ByRuns, BySet>(c, FindNthLastOp{s, end, n});
}
size_t Keep(Bytes s, const ByteClass& c, bool keep_members, MutableBytes out) {
  return ByMatcher<OneValue, ByRuns, BySet>(c, KeepOp{s, c, keep_members, out});
}
