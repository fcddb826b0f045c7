// A coverage-guided fuzzer over every export of the native library.
//
// The input (fuzz/input_format.h) picks an export and builds its arguments
// by their kinds; a last byte may ask for one allocation to fail.  After
// every call the invariants that hold for every export are checked: the
// host call's own check of the arguments and the result (tools/hostcall:
// read-only arguments unchanged, in-place lengths kept, nothing written
// past a byte count, a result that is new and terminated), a non-null
// string result within the export's size bound, and nothing left alive.
//
// With TK_FUZZ_WRITE_SEEDS=DIR the program instead writes the input of
// every behaviour case into DIR and stops: the seeds of a run.
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "fuzz/input_format.h"
#include "fuzz/result_bounds.h"
#include "host_call.h"
#include "twinekit_test_hooks.h"

namespace {

[[noreturn]] void Fail(const char* what, const twinekit::ExportInfo& e) {
  std::fprintf(stderr, "invariant broken by %s: %s\n", e.name.data(), what);
  std::abort();
}

void WriteSeeds(const char* dir) {
  int written = 0;
  for (const tkcases::CaseFile& file : tkcases::AllCases().files) {
    for (const tkcases::Case& c : file.cases) {
      if (const auto input = tkfuzz::WriteCase(c)) {
        std::ofstream(std::string(dir) + "/case-" + std::string(file.family) + "-" +
                      std::to_string(++written)) << *input;
      }
    }
  }
  std::printf("wrote %d seeds from the behaviour cases to %s\n", written, dir);
}

// Calls the export on the host's arguments; checks the result and the
// arguments as the host finds them.
void CallAndCheck(const twinekit::ExportInfo& e, const std::vector<tkhost::Value>& values,
                  uint8_t fault) {
  tkhost::HostArgs call(e, values);
  std::array<uint64_t, 4> lengths{};
  std::array<int64_t, 4> numbers{};
  std::array<std::string, 4> texts;
  for (size_t i = 0; i < values.size(); ++i) {
    texts[i] = call.Bytes(i);
    lengths[i] = texts[i].size();
    numbers[i] = values[i].number;
  }
  if (fault & 0x40) {
    const int64_t k = (fault & 0x0F) + 1;
    if (fault & 0x80) tk_test_fail_bstr(k, fault & 0x20);
    else tk_test_fail_scratch(k, fault & 0x20);
  }
  const int64_t live_scratch = tk_test_live_scratch();
  const int64_t bstr_failures = tk_test_bstr_failures();
  const tkhost::Returned r = tkhost::CallTyped(call);
  // Made to fail, or too large for the sanitizer's allocation cap.
  const bool bstr_failed = tk_test_bstr_failures() != bstr_failures;
  tk_test_fail_scratch(0, 0);
  tk_test_fail_bstr(0, 0);

  const tkhost::ResultKind result = tkhost::ResultKindOf(e.result);
  if (result == tkhost::ResultKind::kString) {
    if (r.string == nullptr && !bstr_failed) Fail("null string result", e);
    if (const std::string problem = call.CheckResult(r.string); !problem.empty()) {
      Fail(problem.c_str(), e);
    }
    if (SysStringByteLen(r.string) > tkfuzz::ResultBound(e, lengths, numbers, texts)) {
      Fail("result longer than the export's bound", e);
    }
    // Touch every byte: the sanitizer sees a count larger than the block.
    volatile uint8_t sink = 0;
    const auto* bytes = reinterpret_cast<const uint8_t*>(r.string);
    for (UINT i = 0, count = SysStringByteLen(r.string); i < count; ++i) sink = sink ^ bytes[i];
    SysFreeString(r.string);
  } else if (result == tkhost::ResultKind::kVariant && r.variant.vt != VT_I4) {
    Fail("Variant result not of subtype Long", e);
  }
  if (tk_test_live_scratch() != live_scratch) Fail("scratch buffer left alive", e);
  if (const std::string problem = call.Check(); !problem.empty()) Fail(problem.c_str(), e);
}

// Numbers near the first string argument's length reach its edges.
size_t FirstStringLength(const std::vector<tkhost::Value>& values) {
  for (const tkhost::Value& v : values) {
    if (v.tag == tkhost::Value::kBytes || v.tag == tkhost::Value::kNull) return v.bytes.size();
  }
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (const char* dir = std::getenv("TK_FUZZ_WRITE_SEEDS")) {
    WriteSeeds(dir);
    std::exit(0);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tkfuzz::Input in(data, size);
  const twinekit::ExportInfo& e = twinekit::kExports[in.Byte() % twinekit::kExports.size()];
  std::vector<tkhost::Value> values;
  for (const char letter : e.args) {
    const tkhost::ArgKind kind = tkhost::ArgKindOf(letter);
    tkhost::Value v;
    if (kind == tkhost::ArgKind::kLong || kind == tkhost::ArgKind::kInteger) {
      v.tag = tkhost::Value::kNumber;
      v.number = tkfuzz::ReadNumber(in, FirstStringLength(values));
    } else if (kind == tkhost::ArgKind::kVariant) {
      v.tag = tkhost::Value::kVariant;
      v.variant = tkfuzz::ReadVariant(in);
    } else {
      v = tkfuzz::ReadString(in);
    }
    values.push_back(std::move(v));
  }
  const uint8_t fault = in.Byte();

  // Every BSTR alive after the call and the host's cleanup is a leak.
  const int64_t live_bstrs = tk_test_live_bstrs();
  CallAndCheck(e, values, fault);
  if (tk_test_live_bstrs() != live_bstrs) Fail("BSTR left alive", e);
  return 0;
}
