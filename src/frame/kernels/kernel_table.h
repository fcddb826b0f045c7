// The kernel layer: every routine that runs on vectors of bytes, in one
// form for each instruction set, chosen once.
//
// Each concern (scans, hexadecimal digits, ...) has a table of its kernels,
// and one table a form: the plain form, a byte at a time, which is the
// reference and runs anywhere; SSE2, the baseline of both DLLs and of the
// native x86 builds; SSSE3, which adds byte shuffles; AVX2, 32 bytes at a
// time.  A form with nothing better for a concern uses the form below it.
// Every form gives the same answers as the plain form.
//
// The first call picks the best form the CPU runs, unless the environment
// variable TWINEKIT_KERNELS names a form (plain, sse2, ssse3 or avx2) that
// it runs.  Any other value, an unknown name or a form the CPU lacks, is
// refused with one line on standard error (in the DLLs, the debugger's
// output) and the best form runs: the variable can never make the library
// run instructions the CPU lacks, nor stop a host's calls.  Tests force each form with UseForm.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "frame/byte_class.h"
#include "frame/byte_table.h"
#include "frame/bytes.h"

// The vector forms exist on x86 only; elsewhere every form is the plain one.
#if defined(__x86_64__) || defined(__i386__)
#define TK_X86_KERNELS 1
#endif

namespace twinekit::kernels {

enum class Form : uint8_t { kPlain, kSse2, kSsse3, kAvx2 };
inline constexpr std::array<Form, 4> kForms = {Form::kPlain, Form::kSse2, Form::kSsse3,
                                               Form::kAvx2};

// Scans of a text for the members of a byte class (frame/byte_scan.h).
struct ScanKernels {
  size_t (*count)(Bytes s, const ByteClass& c);
  size_t (*find_nth)(Bytes s, size_t from, const ByteClass& c, size_t n);
  size_t (*find_nth_last)(Bytes s, size_t end, const ByteClass& c, size_t n);
  size_t (*keep)(Bytes s, const ByteClass& c, bool keep_members, MutableBytes out);
};

// Hexadecimal digits written and read in bulk (frame/hex_blocks.h).
struct HexKernels {
  void (*write_digits)(Bytes in, uint8_t* out);
  void (*read_signed_pairs)(Bytes in, uint8_t* out);
  void (*read_packed_pairs)(Bytes in, uint8_t* out);
};

// Passes over a text that a family owns, each the whole of its pass
// (frame/text_passes.h).
struct TextKernels {
  // in's bytes in reverse order into out (room for in.size()).
  void (*reverse)(Bytes in, uint8_t* out);
  // out[i] = in[i] with a small letter made capital where i is 0 or in[i -
  // 1] is a blank (room for in.size()).
  void (*raise_after_blanks)(Bytes in, uint8_t* out);
  // work[1..n] in place: a letter capital where the byte before it is a
  // blank (or, with after_punct, an ASCII punctuation mark), small
  // elsewhere; work[0] is read only.
  void (*capitalise)(uint8_t* work, size_t n, bool after_punct);
  // The first j in [from, last] with y[j + first_at] == first and y[j +
  // second_at] == second, or SIZE_MAX; y[last + first_at] and y[last +
  // second_at] must be readable.
  size_t (*find_pair)(const uint8_t* y, size_t from, size_t last, size_t first_at, uint8_t first,
                      size_t second_at, uint8_t second);
};

// Byte maps: out[i] = the image of in[i] for every byte, out either
// in.data() itself (a map in place) or room for in.size() bytes apart from
// in.
struct MapKernels {
  // Through a table of all 256 values.
  void (*table)(Bytes in, uint8_t* out, const ByteTable& table);
  // Through a map that sends from[k] to to[k] for k < from.size() and
  // every other value to itself; the from values are distinct and at most
  // kMaxFewChanges.
  void (*few)(Bytes in, uint8_t* out, Bytes from, const uint8_t* to);
  // The most changed values for which few is faster than table on this
  // form (0 where it never is).
  size_t few_limit;
};
inline constexpr size_t kMaxFewChanges = 16;

extern const ScanKernels kPlainScans, kSse2Scans, kSsse3Scans, kAvx2Scans;
extern const HexKernels kPlainHex, kSse2Hex, kAvx2Hex;
extern const TextKernels kPlainText, kSse2Text, kAvx2Text;
extern const MapKernels kPlainMaps, kSse2Maps, kAvx2Maps;

// One form's kernels, a table for each concern.
struct KernelTable {
  Form form;
  const ScanKernels* scan;
  const HexKernels* hex;
  const TextKernels* text;
  const MapKernels* map;
};

// The kernels of the form chosen on first use (or forced by UseForm).
const KernelTable& Kernels();

// The form the CPU runs best, whatever is forced.
Form BestForm();

// The form a value of TWINEKIT_KERNELS asks for: the form it names when
// the CPU runs it, else the best form with refusal saying why (null when
// the value is taken, or is null or empty: no value).
struct FormAskedFor {
  Form form;
  const char* refusal;
};
FormAskedFor FormForValue(const char* value);

bool CpuRuns(Form form);
const char* FormName(Form form);

// From now on every kernel call runs form; false, and no change, when the
// CPU does not run it.  For tests and benchmarks: a form changed while
// another thread calls the library is safe (each call reads the table
// once) but decides nothing about that call's form.
bool UseForm(Form form);

}  // namespace twinekit::kernels
