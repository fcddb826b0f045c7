#include "basic_host.h"

#include <windows.h>
#include <oleauto.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "allocation_watch.h"
#include "host_strings.h"
#include "host_variant.h"
#include "slot_call.h"

namespace tkharness {
namespace {

using tkcases::Outcome;

constexpr size_t kMaxArgs = 4;

// The arguments of one call as the host holds them around the call.
struct HostArgs {
  std::array<std::unique_ptr<HostBstr>, kMaxArgs> strings;
  std::array<BSTR, kMaxArgs> variables{};  // the host's String variables
  std::array<std::unique_ptr<tkhost::HostVariant>, kMaxArgs> variants;
};

uintptr_t NumberSlot(int64_t value, char kind, uint64_t garbage) {
  if (kind == 'I') {
    return static_cast<uintptr_t>(garbage | (static_cast<uint64_t>(value) & 0xFFFFu));
  }
  const uint64_t upper = garbage & 0xFFFFFFFF00000000u;  // 64-bit slots only
  return static_cast<uintptr_t>(upper | (static_cast<uint64_t>(value) & 0xFFFFFFFFu));
}

// Builds the slots of the declared arguments, in order.
std::vector<uintptr_t> BuildSlots(const twinekit::ExportInfo& info, const tkcases::Case& c,
                                  uint64_t garbage, HostArgs& args) {
  std::vector<uintptr_t> slots;
  for (size_t i = 0; i < info.args.size(); ++i) {
    const tkhost::Value& a = c.args[i];
    const char kind = info.args[i];
    switch (kind) {
      case 'R':
      case 'W':
        args.strings[i] = std::make_unique<HostBstr>(a);
        args.variables[i] = args.strings[i]->get();
        slots.push_back(reinterpret_cast<uintptr_t>(&args.variables[i]));
        break;
      case 'V':
        args.strings[i] = std::make_unique<HostBstr>(a);
        slots.push_back(reinterpret_cast<uintptr_t>(args.strings[i]->get()));
        break;
      case 'L':
      case 'I':
        slots.push_back(NumberSlot(a.number, kind, garbage));
        break;
      case 'X':
        args.variants[i] = std::make_unique<tkhost::HostVariant>(a.variant);
        slots.push_back(reinterpret_cast<uintptr_t>(args.variants[i]->get()));
        break;
    }
  }
  return slots;
}

// True when r is, or points into, something of the host's: an argument's
// BSTR, a String variable, or a Variant.
bool IsHostMemory(const void* r, const twinekit::ExportInfo& info, const HostArgs& args) {
  for (size_t i = 0; i < info.args.size(); ++i) {
    if (args.strings[i] && args.strings[i]->Contains(r)) return true;
    if (r == &args.variables[i]) return true;
    if (args.variants[i] && args.variants[i]->Holds(r)) return true;
  }
  return false;
}

// Every block of task memory that the call allocated and did not free must
// be the string result's own.
std::string CheckLeftovers(const std::vector<LiveBlock>& live, const void* result_string) {
  size_t bytes = 0, blocks = 0;
  for (const LiveBlock& block : live) {
    if (result_string != nullptr && block.Contains(result_string)) continue;
    bytes += block.size;
    ++blocks;
  }
  if (blocks == 0) return {};
  return "left " + std::to_string(blocks) + " block(s) of task memory (" + std::to_string(bytes) +
         " bytes) allocated after returning";
}

// Reads a string result into seen and frees it; returns a problem with the
// BSTR itself, if any.
std::string ReadStringResult(BSTR r, const twinekit::ExportInfo& info, const HostArgs& args,
                             Outcome& seen) {
  seen.result_null = r == nullptr;
  if (r == nullptr) return {};
  seen.bytes = BytesOf(r);
  if (IsHostMemory(r, info, args)) {
    seen.result_aliased = true;
    return {};  // not the host's to free
  }
  // A BSTR made for exactly its length has its terminator right after the
  // byte count; one made larger and cut down by rewriting the count has not.
  const auto* bytes = reinterpret_cast<const uint8_t*>(r);
  const size_t n = seen.bytes.size();
  const bool terminated = bytes[n] == 0 && bytes[n + 1] == 0;
  SysFreeString(r);
  if (!terminated) return "the result's byte count is not its length (no terminator after it)";
  return {};
}

// Checks the arguments after the call, as the host finds them.
void CheckArguments(const twinekit::ExportInfo& info, HostArgs& args, Outcome& seen) {
  for (size_t i = 0; i < info.args.size(); ++i) {
    const char kind = info.args[i];
    const std::string number = std::to_string(i + 1);
    if (kind == 'R' || kind == 'W' || kind == 'V') {
      const HostBstr& s = *args.strings[i];
      if ((kind == 'R' || kind == 'W') && args.variables[i] != s.get()) {
        seen.changed_argument = "the export replaced the caller's variable " + number;
        args.variables[i] = s.get();
        continue;
      }
      if (std::string bounds = s.CheckBounds(); !bounds.empty()) {
        seen.changed_argument = "the export " + bounds + " " + number;
        continue;
      }
      if (kind == 'W') {
        seen.after = BytesOf(s.get());
      } else if (BytesOf(s.get()) != s.original()) {
        seen.changed_argument = "the export changed read-only argument " + number;
      }
    } else if (kind == 'X' && !args.variants[i]->Unchanged()) {
      seen.changed_argument = "the export changed the caller's Variant " + number;
    }
  }
}

}  // namespace

Outcome CallAsBasicHost(void* fn, const tkcases::Case& c, uint64_t garbage) {
  const twinekit::ExportInfo& info = *c.info;
  Outcome seen;
  HostArgs args;
  std::vector<uintptr_t> slots = BuildSlots(info, c, garbage, args);

  // A Variant result comes back through the address of the host's result
  // Variant, passed ahead of the declared arguments.
  VARIANT result;
  VariantInit(&result);
  if (info.result == 'X') slots.insert(slots.begin(), reinterpret_cast<uintptr_t>(&result));

  const bool watching = AllocationWatch::active();
  if (watching) AllocationWatch::Begin();
  const SlotCallResult call = CallWithSlots(fn, slots);
  const std::vector<LiveBlock> live = watching ? AllocationWatch::End() : std::vector<LiveBlock>{};
  if (!call.problem.empty()) seen.error = call.problem;
  if (seen.error.empty()) {
    const void* result_string = info.result == 'S' ? reinterpret_cast<void*>(call.returned) : nullptr;
    seen.error = CheckLeftovers(live, result_string);
  }

  switch (info.result) {
    case 'S': {
      std::string problem = ReadStringResult(reinterpret_cast<BSTR>(call.returned), info, args, seen);
      if (seen.error.empty()) seen.error = problem;
      break;
    }
    case 'I': seen.number = static_cast<int16_t>(call.returned & 0xFFFFu); break;
    case 'L': seen.number = static_cast<int32_t>(call.returned & 0xFFFFFFFFu); break;
    case 'X':
      if (call.returned != reinterpret_cast<uintptr_t>(&result) && seen.error.empty()) {
        seen.error = "the Variant export did not return the result address it was given";
      }
      seen.vt = result.vt;
      seen.number = result.lVal;
      VariantClear(&result);
      break;
    default: break;
  }

  CheckArguments(info, args, seen);
  return seen;
}

}  // namespace tkharness
