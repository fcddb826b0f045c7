// 32-bit Windows: a small assembly thunk pushes the slots right to left,
// calls, and records the stack pointer and the registers the callee must
// preserve, so that a stdcall export that removes the wrong number of bytes
// (or clobbers EBX, ESI, EDI or EBP, leaves the direction flag set or the
// x87 stack unbalanced) is caught at the call that did it.  A Basic host
// would crash or misbehave later, far from the cause.
#include <cstdio>

#include "slot_call.h"

extern "C" {

// Filled by the thunk; read right after it returns.
struct ThunkRecord {
  uint32_t sp_at_call;  // ESP at the call instruction, slots pushed
  uint32_t sp_after;    // ESP right after the callee returned
  uint32_t eax;
  uint32_t ebx, esi, edi, ebp;
  uint32_t eflags;
  uint16_t fpu_status_before, fpu_status_after;
};
ThunkRecord tk_thunk_record;
uint32_t tk_thunk_saved_esp;
void tk_thunk_call(void* fn, const uint32_t* slots, uint32_t count);

}  // extern "C"

static_assert(sizeof(ThunkRecord) == 36);

// Values the thunk loads into the callee-saved registers before the call.
#define TK_SENTINEL_EBX 0x0B5E55EDu
#define TK_SENTINEL_ESI 0x5EED1E55u
#define TK_SENTINEL_EDI 0xD15EA5EDu
#define TK_SENTINEL_EBP 0xBA5EF00Du
#define TK_STR(x) #x
#define TK_XSTR(x) TK_STR(x)

// cdecl: tk_thunk_call(fn, slots, count).  The stack is left 4 bytes past a
// 16-byte boundary at the call: Windows promises only 4-byte alignment, and
// an export must not depend on more.
asm(R"(
  .text
  .globl _tk_thunk_call
  .def _tk_thunk_call; .scl 2; .type 32; .endef
_tk_thunk_call:
  pushl %ebp
  pushl %ebx
  pushl %esi
  pushl %edi
  movl %esp, _tk_thunk_saved_esp
  movl 20(%esp), %eax
  movl 24(%esp), %esi
  movl 28(%esp), %ecx
  leal 4(,%ecx,4), %edx
  andl $15, %edx
  andl $-16, %esp
  subl $16, %esp
  addl %edx, %esp
1:
  testl %ecx, %ecx
  jz 2f
  decl %ecx
  pushl (%esi,%ecx,4)
  jmp 1b
2:
  movl %esp, _tk_thunk_record
  fnstsw _tk_thunk_record+32
  movl $)" TK_XSTR(TK_SENTINEL_EBX) R"(, %ebx
  movl $)" TK_XSTR(TK_SENTINEL_ESI) R"(, %esi
  movl $)" TK_XSTR(TK_SENTINEL_EDI) R"(, %edi
  movl $)" TK_XSTR(TK_SENTINEL_EBP) R"(, %ebp
  call *%eax
  movl %esp, _tk_thunk_record+4
  movl %eax, _tk_thunk_record+8
  movl %ebx, _tk_thunk_record+12
  movl %esi, _tk_thunk_record+16
  movl %edi, _tk_thunk_record+20
  movl %ebp, _tk_thunk_record+24
  movl _tk_thunk_saved_esp, %esp
  pushfl
  popl _tk_thunk_record+28
  fnstsw _tk_thunk_record+34
  popl %edi
  popl %esi
  popl %ebx
  popl %ebp
  ret
)");

namespace tkhost {
namespace {

std::string Hex(uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(v));
  return text;
}

std::string CheckRecord(const ThunkRecord& r, size_t slot_count) {
  const int32_t removed = static_cast<int32_t>(r.sp_after - r.sp_at_call);
  const int32_t expected = static_cast<int32_t>(4 * slot_count);
  if (removed != expected) {
    return "stdcall cleanup: the export removed " + std::to_string(removed) +
           " bytes of arguments, the host pushed " + std::to_string(expected);
  }
  const struct {
    const char* name;
    uint32_t seen, want;
  } saved[] = {{"EBX", r.ebx, TK_SENTINEL_EBX},
               {"ESI", r.esi, TK_SENTINEL_ESI},
               {"EDI", r.edi, TK_SENTINEL_EDI},
               {"EBP", r.ebp, TK_SENTINEL_EBP}};
  for (const auto& s : saved) {
    if (s.seen != s.want) {
      return std::string("the export did not preserve ") + s.name + " (" + Hex(s.want) +
             " came back as " + Hex(s.seen) + ")";
    }
  }
  if (r.eflags & 0x400) return "the export returned with the direction flag set";
  const int top_before = (r.fpu_status_before >> 11) & 7;
  const int top_after = (r.fpu_status_after >> 11) & 7;
  if (top_before != top_after) return "the export left the x87 register stack unbalanced";
  return {};
}

}  // namespace

SlotCallResult CallWithSlots(void* fn, std::span<const uintptr_t> slots) {
  uint32_t pushed[8] = {};
  SlotCallResult out;
  if (slots.size() > std::size(pushed)) {
    out.problem = "the host call cannot push more than 8 slots";
    return out;
  }
  for (size_t i = 0; i < slots.size(); ++i) pushed[i] = static_cast<uint32_t>(slots[i]);
  tk_thunk_call(fn, pushed, static_cast<uint32_t>(slots.size()));
  const ThunkRecord record = tk_thunk_record;
  out.returned = record.eax;
  out.problem = CheckRecord(record, slots.size());
  return out;
}

}  // namespace tkhost
