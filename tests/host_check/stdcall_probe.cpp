#include "stdcall_probe.h"

// uint32_t StdcallProbe(const void* entry, const uint32_t* arguments,
//                       uint32_t count, uint32_t* bytes_removed)   (cdecl)
//
// Written in assembly so that no compiler can fix up the stack around the
// call: whatever the callee leaves is what gets measured. The stack pointer
// is restored from the frame afterwards, so a wrong callee cannot corrupt
// the caller either.
asm(R"(
  .text
  .globl _StdcallProbe
_StdcallProbe:
  push %ebp
  mov %esp, %ebp
  push %ebx
  push %esi
  push %edi
  mov 12(%ebp), %esi
  mov 16(%ebp), %ecx
1:
  test %ecx, %ecx
  jz 2f
  push -4(%esi,%ecx,4)
  dec %ecx
  jmp 1b
2:
  mov %esp, %edi
  call *8(%ebp)
  mov %esp, %ecx
  sub %edi, %ecx
  mov 20(%ebp), %edx
  mov %ecx, (%edx)
  lea -12(%ebp), %esp
  pop %edi
  pop %esi
  pop %ebx
  pop %ebp
  ret
)");

extern "C" uint32_t StdcallProbe(const void* entry, const uint32_t* arguments, uint32_t count,
                                 uint32_t* bytes_removed);

ProbeResult CallWithStackProbe(const void* entry, const uint32_t* arguments, uint32_t count) {
  ProbeResult result{};
  result.eax = StdcallProbe(entry, arguments, count, &result.bytes_removed);
  return result;
}
