#include "cases/outcome.h"

#include <cstdio>

namespace tkcases {

std::string Escape(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '\\' && c != '\'') {
      out.push_back(static_cast<char>(c));
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

namespace {

std::string Quote(std::string_view bytes) { return "'" + Escape(bytes) + "'"; }

std::string DescribeArg(const Arg& a, char kind) {
  switch (a.tag) {
    case ArgTag::kBytes: return Quote(a.bytes);
    case ArgTag::kNull: return "null";
    case ArgTag::kNumber: return std::to_string(a.number);
    case ArgTag::kVariant:
      return "Variant(vt=" + std::to_string(a.variant.vt) + ", " +
             (a.variant.vt == kVtBstr ? Quote(a.variant.text)
              : (a.variant.vt == kVtR4 || a.variant.vt == kVtR8 || a.variant.vt == kVtDate)
                  ? std::to_string(a.variant.real)
                  : std::to_string(a.variant.integer)) +
             ")";
  }
  (void)kind;
  return "?";
}

}  // namespace

std::string Describe(const Case& c, std::string_view arg_kinds) {
  std::string out(c.fn);
  out += "(";
  for (size_t i = 0; i < arg_kinds.size(); ++i) {
    if (i) out += ", ";
    out += DescribeArg(c.args[i], arg_kinds[i]);
  }
  out += ")";
  if (c.clock >= 0) out += " at clock " + std::to_string(c.clock);
  return out;
}

std::string CheckOutcome(const Case& c, char result_kind, const Outcome& seen) {
  if (!seen.error.empty()) return seen.error;
  if (!seen.changed_argument.empty()) return seen.changed_argument;
  std::string problem;
  const Expect& w = c.want;
  switch (w.want) {
    case Want::kBytes:
      if (result_kind != 'S') return "the case wants a string from a non-string export";
      if (seen.result_null) return "the result is a null BSTR";
      if (seen.result_aliased) return "the result is one of the caller's BSTRs";
      if (seen.bytes != w.bytes) {
        problem = "gave " + Quote(seen.bytes) + ", want " + Quote(w.bytes);
      }
      break;
    case Want::kNumber: {
      const int64_t want = result_kind == 'I' ? static_cast<int16_t>(w.number)
                                              : static_cast<int32_t>(w.number);
      if (seen.number != want) {
        problem = "gave " + std::to_string(seen.number) + ", want " + std::to_string(want);
      }
      break;
    }
    case Want::kVariant:
      if (seen.vt != w.vt || seen.number != w.number) {
        problem = "gave Variant(vt=" + std::to_string(seen.vt) + ", " +
                  std::to_string(seen.number) + "), want Variant(vt=" + std::to_string(w.vt) +
                  ", " + std::to_string(w.number) + ")";
      }
      break;
    case Want::kNothing:
      break;
  }
  if (problem.empty() && w.has_after && seen.after != w.after) {
    problem = "left the argument as " + Quote(seen.after) + ", want " + Quote(w.after);
  }
  return problem;
}

}  // namespace tkcases
