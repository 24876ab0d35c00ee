#include "user_memory.h"

#include <sys/uio.h>
#include <unistd.h>

namespace vparport {

namespace {

// The kernel checks the addresses of a process's own memory without a
// signal: an unmapped or protected page fails the call with EFAULT.
bool CopyWithin(void* to, const void* from, size_t size, bool program_side_is_to) {
  if (size == 0) return true;
  iovec local{program_side_is_to ? const_cast<void*>(from) : to, size};
  iovec remote{program_side_is_to ? to : const_cast<void*>(from), size};
  const ssize_t copied = program_side_is_to ? process_vm_writev(getpid(), &local, 1, &remote, 1, 0)
                                            : process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
  return copied == static_cast<ssize_t>(size);
}

}  // namespace

bool CopyFromUser(void* to, const void* from, size_t size) {
  return CopyWithin(to, from, size, false);
}

bool CopyToUser(void* to, const void* from, size_t size) {
  return CopyWithin(to, from, size, true);
}

}  // namespace vparport
