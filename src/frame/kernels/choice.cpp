#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

// The form TWINEKIT_KERNELS names when the CPU runs it, else the best.  A
// value refused is said on standard error, once a choice, and never stops
// the call: in a host without a console the line goes nowhere.
Form ChosenForm() {
  const char* value = std::getenv("TWINEKIT_KERNELS");
  const FormAskedFor asked = FormForValue(value);
  if (asked.refusal != nullptr) {
    std::fprintf(stderr, "twinekit: TWINEKIT_KERNELS=%.40s %s; the best form, %s, runs\n", value,
                 asked.refusal, FormName(asked.form));
  }
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
