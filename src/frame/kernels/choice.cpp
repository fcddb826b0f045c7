#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

#include "frame/cpu_features.h"
#include "frame/kernels/kernel_table.h"

namespace twinekit::kernels {
namespace {

// Address constants only, so that the tables are filled before any code
// runs, whatever the order in which the objects are initialised.
#ifdef TK_X86_KERNELS
constexpr KernelTable kTables[] = {
    {Form::kPlain, &kPlainScans, &kPlainHex, &kPlainText, &kPlainMaps},
    {Form::kSse2, &kSse2Scans, &kSse2Hex, &kSse2Text, &kSse2Maps},
    {Form::kSsse3, &kSsse3Scans, &kSse2Hex, &kSse2Text, &kSse2Maps},
    {Form::kAvx2, &kAvx2Scans, &kAvx2Hex, &kAvx2Text, &kAvx2Maps},
};
#else
constexpr KernelTable kTables[] = {
    {Form::kPlain, &kPlainScans, &kPlainHex, &kPlainText, &kPlainMaps},
    {Form::kSse2, &kPlainScans, &kPlainHex, &kPlainText, &kPlainMaps},
    {Form::kSsse3, &kPlainScans, &kPlainHex, &kPlainText, &kPlainMaps},
    {Form::kAvx2, &kPlainScans, &kPlainHex, &kPlainText, &kPlainMaps},
};
#endif

constexpr const char* kNames[] = {"plain", "sse2", "ssse3", "avx2"};

const KernelTable* TableOf(Form form) { return &kTables[static_cast<size_t>(form)]; }

// Appends text to line, which has room for size bytes with its zero.
void Append(char* line, size_t size, const char* text) {
  const size_t n = std::strlen(line);
  std::strncat(line, text, size - 1 - n);
}

// One line about a refused value: on standard error natively and, in the
// DLLs, which link no C runtime's streams and may have no console, to the
// debugger's output.
void SayRefusal(const char* value, const FormAskedFor& asked) {
  char shown[41] = {};
  std::strncpy(shown, value, sizeof shown - 1);
  char line[160] = "twinekit: TWINEKIT_KERNELS=";
  for (const char* piece : {static_cast<const char*>(shown), " ", asked.refusal,
                            "; the best form, ", FormName(asked.form), ", runs\n"}) {
    Append(line, sizeof line, piece);
  }
#ifdef _WIN32
  OutputDebugStringA(line);
#else
  std::fputs(line, stderr);
#endif
}

// The form TWINEKIT_KERNELS names when the CPU runs it, else the best.  A
// value refused is said once a choice, and never stops the call.
Form ChosenForm() {
  const char* value = std::getenv("TWINEKIT_KERNELS");
  const FormAskedFor asked = FormForValue(value);
  if (asked.refusal != nullptr) SayRefusal(value, asked);
  return asked.form;
}

// Written once on first use (two threads may both choose, alike) and by
// UseForm.
std::atomic<const KernelTable*> active{nullptr};

}  // namespace

const char* FormName(Form form) { return kNames[static_cast<size_t>(form)]; }

bool CpuRuns(Form form) {
  const CpuFeatures cpu = Cpu();
  switch (form) {
    case Form::kPlain:
      return true;
    case Form::kSse2:
      return cpu.sse2;
    case Form::kSsse3:
      return cpu.ssse3;
    case Form::kAvx2:
      return cpu.avx2;
  }
  return false;
}

Form BestForm() {
  Form best = Form::kPlain;
  for (const Form form : kForms) {
    if (CpuRuns(form)) best = form;
  }
  return best;
}

FormAskedFor FormForValue(const char* value) {
  if (value == nullptr || *value == 0) return {BestForm(), nullptr};
  for (const Form form : kForms) {
    if (std::strcmp(value, FormName(form)) != 0) continue;
    if (CpuRuns(form)) return {form, nullptr};
    return {BestForm(), "names a form this CPU does not run"};
  }
  return {BestForm(), "is not a form (plain, sse2, ssse3, avx2)"};
}

const KernelTable& Kernels() {
  const KernelTable* table = active.load(std::memory_order_relaxed);
  if (table == nullptr) {
    table = TableOf(ChosenForm());
    active.store(table, std::memory_order_relaxed);
  }
  return *table;
}

bool UseForm(Form form) {
  if (!CpuRuns(form)) return false;
  active.store(TableOf(form), std::memory_order_relaxed);
  return true;
}

}  // namespace twinekit::kernels
