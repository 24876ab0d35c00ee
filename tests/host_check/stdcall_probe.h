// Calls a function the way a 32-bit Windows host built with any compiler
// does: 32-bit arguments pushed right to left by hand, then the stack pointer
// read back, so the bytes the callee removed are measured, not assumed.
#ifndef TESTS_HOST_CHECK_STDCALL_PROBE_H
#define TESTS_HOST_CHECK_STDCALL_PROBE_H

#include <cstdint>

struct ProbeResult {
  uint32_t eax;            // the callee's result register
  uint32_t bytes_removed;  // 0 for a caller-cleans entry
};

// `arguments` in declaration order; `count` of them are pushed, last first.
ProbeResult CallWithStackProbe(const void* entry, const uint32_t* arguments, uint32_t count);

#endif  // TESTS_HOST_CHECK_STDCALL_PROBE_H
