#include "json_writer.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace tkcall {
namespace {

bool IsWhole(uint16_t vt) {
  switch (vt) {
    case tkhost::kVtI1: case tkhost::kVtI2: case tkhost::kVtI4: case tkhost::kVtI8:
    case tkhost::kVtUi1: case tkhost::kVtUi2: case tkhost::kVtUi4: case tkhost::kVtUi8:
    case tkhost::kVtInt: case tkhost::kVtUint:
      return true;
  }
  return false;
}

std::string JsonReal(double x) {
  if (!std::isfinite(x)) return "null";
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", x);
  return text;
}

// A Variant: its type, its 16 bytes as OLE Automation lays them out (one by
// reference as the value it points to), its value by kind, and the Variant
// a reference to a Variant points to.
std::string JsonVariant(const tkhost::VariantValue& v) {
  tkhost::VariantValue value = v;
  value.vt = static_cast<uint16_t>(v.vt & ~tkhost::kVtByRef);
  const std::array<uint8_t, 16> image = tkhost::VariantImage(value);
  std::string out = "{\"vt\": " + std::to_string(v.vt) + ", \"image\": " +
                    JsonHex(std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
  if (v.vt == tkhost::kVtUi8) {
    out += ", \"integer\": " + std::to_string(static_cast<uint64_t>(v.integer));
  } else if (IsWhole(v.vt)) {
    out += ", \"integer\": " + std::to_string(v.integer);
  } else if (v.vt == tkhost::kVtR4 || v.vt == tkhost::kVtR8 || v.vt == tkhost::kVtDate) {
    out += ", \"real\": " + JsonReal(v.real);
  } else if (v.vt == tkhost::kVtBstr) {
    out += ", \"text\": " + JsonHex(v.text);
  }
  if (!v.referent.empty()) out += ", \"referent\": " + JsonVariant(v.referent[0]);
  return out + "}";
}

}  // namespace

std::string JsonHex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (const unsigned char b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out + "\"";
}

std::string JsonText(std::string_view text) {
  std::string out = "\"";
  for (const unsigned char b : text) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, b >= 32 && b < 127 && b != '"' && b != '\\' ? "%c" : "\\u%04x", b);
    out += escaped;
  }
  return out + "\"";
}

std::string JsonValue(const tkhost::Value& v) {
  switch (v.tag) {
    case tkhost::Value::kBytes: return "{\"bytes\": " + JsonHex(v.bytes) + "}";
    case tkhost::Value::kNull: return "{\"null\": true}";
    case tkhost::Value::kNumber: return "{\"number\": " + std::to_string(v.number) + "}";
    case tkhost::Value::kVariant: return JsonVariant(v.variant);
  }
  return "null";
}

std::string JsonCase(const tkcases::Case& c) {
  std::string out = "{\"where\": " + JsonText(c.where) + ", \"name\": \"" + std::string(c.info->name) + "\", \"kinds\": \"" + std::string(c.info->args) + c.info->result + "\", \"args\": [";
  for (size_t i = 0; i < c.args.size(); ++i) out += (i ? ", " : "") + JsonValue(c.args[i]);
  out += "], \"want\": " + (c.info->result == 'N' ? std::string("null") : JsonValue(c.want));
  out += ", \"after\": " + (c.after ? JsonHex(*c.after) : std::string("null"));
  out += ", \"clock\": " + (c.clock >= 0 ? std::to_string(c.clock) : std::string("null"));
  return out + "}";
}

}  // namespace tkcall
