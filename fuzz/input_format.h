// The fuzzer's input format: a byte that picks the export, then each
// argument by its kind, then a byte that may make one allocation fail.  The
// reader turns any bytes into a call; the writer turns a behaviour case into
// the bytes that make the same call, so that every case seeds the corpus.
//
// A string: a head byte 0xFF for null; 0b00LLLLLL for up to 63 bytes;
// 0b01HHHHHH L for up to 16 KiB; 0b11..HHHH L C, or 0xFE H L C, for a run of
// one byte C (up to 4 KiB, or 64 KiB).  A number: a head byte whose value
// mod 16 picks an edge (0, 1, -1, the bounds, near 2^16, 2^15, 2^30, near the
// first string's length) or, for 11, a 32-bit word.  A Variant: a type byte
// and its value.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "cases/case_file.h"
#include "host_call.h"

namespace tkfuzz {

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  uint32_t Word() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
    return v;
  }
  std::string Bytes(size_t n) {
    n = std::min(n, size_ - std::min(pos_, size_));
    std::string out(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return out;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

inline tkhost::Value ReadString(Input& in) {
  tkhost::Value v;
  const uint8_t head = in.Byte();
  if (head == 0xFF) return v;
  v.tag = tkhost::Value::kBytes;
  if ((head & 0xC0) == 0xC0) {
    // Long runs are rare on purpose: every byte an export reads costs the
    // instrumented build dearly, and throughput is what finds faults.
    const size_t high = head == 0xFE ? in.Byte() : (head & 0x0F);
    const size_t length = (high << 8 | in.Byte()) + 1;
    v.bytes.assign(length, static_cast<char>(in.Byte()));
    return v;
  }
  size_t length = head & 0x3F;
  if (head & 0x40) length = (length << 8) | in.Byte();
  v.bytes = in.Bytes(length);
  return v;
}

inline int64_t ReadNumber(Input& in, size_t first_length) {
  const uint8_t head = in.Byte();
  switch (head % 16) {
    case 0: return 0;
    case 1: return 1;
    case 2: return -1;
    case 3: return INT32_MIN;
    case 4: return INT32_MAX;
    case 5: return INT32_MAX - (in.Byte() % 8);
    case 6: return INT32_MIN + (in.Byte() % 8);
    case 7: return 65536 + static_cast<int8_t>(in.Byte());
    case 8: return 32768 + static_cast<int8_t>(in.Byte());
    case 9: return static_cast<int64_t>(first_length) + static_cast<int8_t>(in.Byte() % 8 - 4);
    case 10: return 0x40000000 + static_cast<int8_t>(in.Byte());
    case 11: return static_cast<int32_t>(in.Word());
    default: return static_cast<int8_t>(in.Byte());
  }
}

inline tkhost::VariantValue ReadVariant(Input& in) {
  using namespace tkhost;
  VariantValue v;
  switch (in.Byte() % 11) {
    case 0: break;
    case 1: v.vt = kVtNull; break;
    case 2: v = {kVtI2, static_cast<int16_t>(in.Word()), 0, {}}; break;
    case 3: v = {kVtI4, static_cast<int32_t>(in.Word()), 0, {}}; break;
    case 4: v = {kVtUi1, in.Byte(), 0, {}}; break;
    case 5: v = {kVtBool, (in.Byte() & 1) ? -1 : 0, 0, {}}; break;
    case 6: {
      const uint64_t bits = uint64_t{in.Word()} << 32 | in.Word();
      v.vt = kVtR8;
      std::memcpy(&v.real, &bits, sizeof bits);
      break;
    }
    case 7: v = {kVtR8, 0, static_cast<int32_t>(in.Word()) / 4.0, {}}; break;
    case 8: v = {kVtCy, int64_t{static_cast<int32_t>(in.Word())} * 2500, 0, {}}; break;
    case 9: v = {kVtR4, 0, static_cast<float>(static_cast<int32_t>(in.Word())) / 2, {}}; break;
    default: v = {kVtBstr, 0, 0, in.Bytes(in.Byte() % 24)}; break;
  }
  return v;
}

// The input that makes the case's call (with no allocation failing), or
// nothing when the reader cannot express one of its arguments.
inline std::optional<std::string> WriteCase(const tkcases::Case& c) {
  std::string out(1, static_cast<char>(c.info->ordinal - 1));
  auto word = [&out](uint32_t w) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(w >> shift));
  };
  for (size_t i = 0; i < c.args.size(); ++i) {
    const tkhost::Value& v = c.args[i];
    const size_t n = v.bytes.size();
    switch (tkhost::ArgKindOf(c.info->args[i])) {
      case tkhost::ArgKind::kLong:
      case tkhost::ArgKind::kInteger:
        if (v.number != static_cast<int32_t>(v.number)) return std::nullopt;
        out.push_back(11);
        word(static_cast<uint32_t>(v.number));
        continue;
      case tkhost::ArgKind::kVariant: {
        const tkhost::VariantValue& x = v.variant;
        if (x.vt == tkhost::kVtEmpty) out.push_back(0);
        else if (x.vt == tkhost::kVtNull) out.push_back(1);
        else if (x.vt == tkhost::kVtI2 || x.vt == tkhost::kVtI4) {
          out.push_back(x.vt == tkhost::kVtI2 ? 2 : 3);
          word(static_cast<uint32_t>(x.integer));
        } else if (x.vt == tkhost::kVtR8) {
          uint64_t bits;
          std::memcpy(&bits, &x.real, sizeof bits);
          out.push_back(6);
          word(static_cast<uint32_t>(bits >> 32));
          word(static_cast<uint32_t>(bits));
        } else if (x.vt == tkhost::kVtBstr && x.text.size() < 24) {
          out.push_back(10);
          out.push_back(static_cast<char>(x.text.size()));
          out += x.text;
        } else {
          return std::nullopt;
        }
        continue;
      }
      default: break;  // the strings, below
    }
    if (v.tag == tkhost::Value::kNull) {
      out.push_back(static_cast<char>(0xFF));
    } else if (n < 64) {
      out.push_back(static_cast<char>(n));
      out += v.bytes;
    } else if (n < 16384) {
      out.push_back(static_cast<char>(0x40 | n >> 8));
      out.push_back(static_cast<char>(n));
      out += v.bytes;
    } else if (n <= 65536 && v.bytes.find_first_not_of(v.bytes[0]) == std::string::npos) {
      out += {static_cast<char>(0xFE), static_cast<char>((n - 1) >> 8),
              static_cast<char>(n - 1), v.bytes[0]};
    } else {
      return std::nullopt;
    }
  }
  out.push_back(0);  // no allocation fails
  return out;
}

}  // namespace tkfuzz
