// glibc lets a program replace malloc and friends; these count each call and
// hand it to glibc's own allocator.
#include "allocation_counter.h"

#include <atomic>
#include <cstddef>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void __libc_free(void* pointer);
}

namespace {
std::atomic<int64_t> allocations{0};
}

int64_t AllocationCount() { return allocations.load(); }

extern "C" {

void* malloc(size_t size) {
  ++allocations;
  return __libc_malloc(size);
}

void* calloc(size_t count, size_t size) {
  ++allocations;
  return __libc_calloc(count, size);
}

void* realloc(void* pointer, size_t size) {
  ++allocations;
  return __libc_realloc(pointer, size);
}

void free(void* pointer) { __libc_free(pointer); }

}  // extern "C"
