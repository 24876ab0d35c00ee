// Copies between the port and the memory a program's request points at, as
// the kernel's copy_from_user and copy_to_user do: an address the program
// cannot read or write is refused (the request then fails with EFAULT), it
// never faults, since the port lives inside the program it serves.
#ifndef VIRTUAL_PARPORT_USER_MEMORY_H
#define VIRTUAL_PARPORT_USER_MEMORY_H

#include <cstddef>

namespace vparport {

// Whether all `size` bytes at `from` were copied to `to`.
bool CopyFromUser(void* to, const void* from, size_t size);
bool CopyToUser(void* to, const void* from, size_t size);

}  // namespace vparport

#endif  // VIRTUAL_PARPORT_USER_MEMORY_H
