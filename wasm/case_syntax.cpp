// The case syntax of tools/casesyntax (values and case lines) for JavaScript:
// the page's forms read their arguments with it and show results in it, and
// the tests read the case files with it, so that JavaScript has no reader
// of its own.  Each function leaves its answer, JSON or plain text, in one
// buffer that the next call replaces: tkw_text() and tkw_text_size() read it.
#include <emscripten/heap.h>
#include <malloc.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "case_line.h"
#include "values.h"

namespace {

std::string g_text;

// A JSON string of bytes, one character a byte: what JavaScript reads back
// as a string of Latin-1 characters.
void AppendBytes(std::string& out, std::string_view bytes) {
  out.push_back('"');
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      out.push_back(ch);
    } else {
      char escape[7];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    }
  }
  out.push_back('"');
}

// A real as a JSON number, or as a string JavaScript's Number() reads
// ("Infinity", "NaN") when JSON has no number for it.
void AppendReal(std::string& out, double x) {
  if (std::isnan(x)) {
    out += "\"NaN\"";
  } else if (std::isinf(x)) {
    out += x < 0 ? "\"-Infinity\"" : "\"Infinity\"";
  } else {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", x);
    out += text;
  }
}

// Integers go as decimal strings: a Currency's or a 64-bit number's digits
// are more than a JavaScript number holds exactly.  A Decimal adds its
// digits; a Variant by reference adds the Variant it points to (for one of
// a plain type, a Variant of that type holding the variable's value; null
// when it points to an Empty Variant), which the syntax nests a few deep.
void AppendVariant(std::string& out, const tkhost::VariantValue& v) {
  out += "{\"vt\":" + std::to_string(v.vt) + ",\"integer\":\"" + std::to_string(v.integer) +
         "\",\"real\":";
  AppendReal(out, v.real);
  out += ",\"text\":";
  AppendBytes(out, v.text);
  if (v.vt == tkhost::kVtDecimal) {
    tkhost::Value value;
    value.tag = tkhost::Value::kVariant;
    value.variant = v;
    out += ",\"decimal\":";
    AppendBytes(out, tkhost::FormatValue(value).substr(4));  // after "dec:"
  }
  if ((v.vt & tkhost::kVtByRef) != 0) {
    out += ",\"referent\":";
    if (v.vt != (tkhost::kVtVariant | tkhost::kVtByRef)) {
      tkhost::VariantValue target = v;
      target.vt &= static_cast<uint16_t>(~tkhost::kVtByRef);
      AppendVariant(out, target);
    } else if (!v.referent.empty()) {
      AppendVariant(out, v.referent[0]);
    } else {
      out += "null";
    }
  }
  out += "}";
}

void AppendValue(std::string& out, const tkhost::Value& v) {
  switch (v.tag) {
    case tkhost::Value::kNull: out += "null"; return;
    case tkhost::Value::kBytes:
      out += "{\"bytes\":";
      AppendBytes(out, v.bytes);
      out += "}";
      return;
    case tkhost::Value::kNumber: out += "{\"number\":\"" + std::to_string(v.number) + "\"}"; return;
    case tkhost::Value::kVariant: AppendVariant(out, v.variant); return;
  }
}

void SetError(std::string_view problem) {
  g_text = "{\"error\":";
  AppendBytes(g_text, problem);
  g_text += "}";
}

}  // namespace

extern "C" {

const char* tkw_text() { return g_text.data(); }
size_t tkw_text_size() { return g_text.size(); }

// One case line: {"name", "args": [value...], "want": value, "after":
// bytes or null, "clock": seconds or -1}, or {"error"}.
void tkw_parse_case(const char* line, size_t size) {
  tkcases::Case c;
  if (std::string problem = tkcases::ParseCase(std::string_view(line, size), c); !problem.empty()) {
    SetError(problem);
    return;
  }
  g_text = "{\"name\":\"" + std::string(c.info->name) + "\",\"args\":[";
  for (size_t i = 0; i < c.args.size(); ++i) {
    if (i > 0) g_text += ",";
    AppendValue(g_text, c.args[i]);
  }
  g_text += "],\"want\":";
  AppendValue(g_text, c.want);
  g_text += ",\"after\":";
  if (c.after) {
    AppendBytes(g_text, *c.after);
  } else {
    g_text += "null";
  }
  g_text += ",\"clock\":" + std::to_string(c.clock) + "}";
}

// One value of an argument kind (R W V L I X, or S for a string): {"value"}
// or {"error"}.
void tkw_parse_value(int kind, const char* text, size_t size) {
  const auto v = tkhost::ParseValue(static_cast<char>(kind), std::string_view(text, size));
  if (!v) {
    SetError("cannot be read");
    return;
  }
  g_text = "{\"value\":";
  AppendValue(g_text, *v);
  g_text += "}";
}

// Writes at out the 16 bytes of the Variant that text writes in the syntax,
// as a host lays them out, for a Variant that holds its value (not a
// String, not by reference: JavaScript makes their strings and cells).
// Returns 0 when the text cannot be read or names such a Variant.
int tkw_variant_image(void* out, const char* text, size_t size) {
  const auto v = tkhost::ParseValue('X', std::string_view(text, size));
  if (!v || v->variant.vt == tkhost::kVtBstr || (v->variant.vt & tkhost::kVtByRef) != 0) return 0;
  const std::array<uint8_t, 16> image = tkhost::VariantImage(v->variant);
  std::memcpy(out, image.data(), image.size());
  return 1;
}

// Bytes written in the syntax, as tkcall writes them.
void tkw_quote(const char* bytes, size_t size) {
  g_text = tkhost::Quote(std::string_view(bytes, size));
}

// The bytes of the heap in use, for the checks that calls leave none behind.
size_t tkw_heap_in_use() { return mallinfo().uordblks; }

// The most bytes the heap can grow to: JavaScript refuses a longer string
// before it makes any.
size_t tkw_heap_max() { return emscripten_get_heap_max(); }

}  // extern "C"
