#include "case_line.h"

#include <algorithm>

namespace tkcases {
namespace {

// Splits a line at blanks outside quotes; a backslash inside quotes escapes
// the next character.
std::vector<std::string_view> Tokens(std::string_view line) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (true) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i == line.size()) return out;
    const size_t start = i;
    bool quoted = false;
    for (; i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t' && line[i] != '\r')); ++i) {
      if (line[i] == '\'') quoted = !quoted;
      else if (quoted && line[i] == '\\') ++i;
    }
    out.push_back(line.substr(start, std::min(i, line.size()) - start));
  }
}

std::string Parse(Case& c, std::vector<std::string_view> t, bool result_optional) {
  if (t.empty()) return "no export";
  c.info = twinekit::FindExport(t[0]);
  if (c.info == nullptr) return "no export named " + std::string(t[0]);
  const size_t n = c.info->args.size();
  if (t.size() < n + 1) return "too few arguments";
  for (size_t i = 0; i < n; ++i) {
    auto v = tkhost::ParseValue(c.info->args[i], t[i + 1]);
    if (!v) return "argument " + std::to_string(i + 1) + " cannot be read: " + std::string(t[i + 1]);
    c.args.push_back(std::move(*v));
  }
  size_t k = n + 1;
  if (result_optional && k == t.size()) return {};
  if (c.info->result != 'N') {
    if (k + 1 >= t.size() || t[k] != "=>") return "no => and result";
    const char kind = c.info->result == 'S' ? 'S' : c.info->result == 'X' ? 'X' : 'L';
    auto v = tkhost::ParseValue(kind, t[k + 1]);
    if (!v || v->tag == tkhost::Value::kNull) return "the result cannot be read: " + std::string(t[k + 1]);
    c.want = std::move(*v);
    k += 2;
  }
  for (; k + 1 < t.size(); k += 2) {
    if (t[k] == "after") {
      auto v = tkhost::ParseValue('S', t[k + 1]);
      if (!v || v->tag != tkhost::Value::kBytes) return "after: not a string";
      c.after = std::move(v->bytes);
    } else if (t[k] == "clock") {
      auto v = tkhost::ParseValue('L', t[k + 1]);
      if (!v || v->number < 0) return "clock: not a count of seconds";
      c.clock = v->number;
    } else {
      break;
    }
  }
  if (k != t.size()) return "cannot read from " + std::string(t[k]);
  return {};
}

}  // namespace

std::string ParseCase(std::string_view line, Case& out) {
  out.text = std::string(line);
  return Parse(out, Tokens(line), false);
}

std::string ParseCall(std::string_view line, Case& out) {
  out.text = std::string(line);
  return Parse(out, Tokens(line), true);
}

std::string CaseLine(const Case& c, const Outcome& seen) {
  // Appended piece by piece: GCC 12 at -O3 warns (restrict) on " " + a
  // temporary string.
  std::string line(c.info->name);
  for (const tkhost::Value& v : c.args) line.append(" ").append(tkhost::FormatValue(v));
  switch (c.info->result) {
    case 'S': line.append(" => ").append(seen.result_null ? "@null" : tkhost::Quote(seen.bytes)); break;
    case 'I':
    case 'L': line.append(" => ").append(std::to_string(seen.number)); break;
    case 'X': {
      tkhost::Value v;
      v.tag = tkhost::Value::kVariant;
      v.variant.vt = seen.vt;
      v.variant.integer = seen.number;
      line.append(" => ").append(tkhost::FormatValue(v));
      break;
    }
  }
  if (c.info->args.starts_with('W')) line.append(" after ").append(tkhost::Quote(seen.after));
  return line;
}

CaseFile ParseCaseText(std::string_view family, std::string_view text,
                       std::vector<std::string>& errors) {
  CaseFile parsed{family, {}};
  for (int line_no = 1; !text.empty(); ++line_no) {
    const size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.find_first_not_of(" \t\r") == std::string_view::npos || line[0] == '#') continue;
    Case c;
    c.where = std::string(family) + ":" + std::to_string(line_no);
    if (std::string problem = ParseCase(line, c); !problem.empty()) {
      errors.push_back(c.where + ": " + problem);
    } else {
      parsed.cases.push_back(std::move(c));
    }
  }
  return parsed;
}

std::string CheckOutcome(const Case& c, const Outcome& seen) {
  if (!seen.error.empty()) return seen.error;
  if (!seen.changed_argument.empty()) return seen.changed_argument;
  std::string problem;
  switch (c.info->result) {
    case 'S':
      if (seen.result_null) return "the result is a null BSTR";
      if (seen.result_aliased) return "the result is one of the caller's BSTRs";
      if (seen.bytes != c.want.bytes) problem = "gave " + tkhost::Quote(seen.bytes);
      break;
    case 'I':
    case 'L': {
      const int64_t want = c.info->result == 'I' ? static_cast<int16_t>(c.want.number)
                                                 : static_cast<int32_t>(c.want.number);
      if (seen.number != want) problem = "gave " + std::to_string(seen.number);
      break;
    }
    case 'X':
      if (seen.vt != c.want.variant.vt || seen.number != c.want.variant.integer) {
        tkhost::Value v{tkhost::Value::kVariant, {}, 0, {}};
        v.variant.vt = seen.vt;
        v.variant.integer = seen.number;
        problem = "gave " + tkhost::FormatValue(v);
      }
      break;
  }
  if (problem.empty() && c.after && seen.after != *c.after) {
    problem = "left " + tkhost::Quote(seen.after) + " in its argument";
  }
  return problem;
}

}  // namespace tkcases
