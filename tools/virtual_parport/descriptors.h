// The program's descriptors that lead to the virtual port. Descriptors made
// by dup() share one client, as they share one open file in the kernel, and
// the client is closed with the last of them.
#ifndef VIRTUAL_PARPORT_DESCRIPTORS_H
#define VIRTUAL_PARPORT_DESCRIPTORS_H

#include <map>

namespace vparport {

struct Descriptors {
  std::map<int, int> client_of;  // descriptor: client
  std::map<int, int> holders;    // client: descriptors that lead to it
};

void AddDescriptor(Descriptors& descriptors, int fd, int client);
// The client behind `fd`, or 0.
int ClientOf(const Descriptors& descriptors, int fd);
// Forgets `fd`; the client it led to when no other descriptor does, else 0.
int DropDescriptor(Descriptors& descriptors, int fd);

}  // namespace vparport

#endif  // VIRTUAL_PARPORT_DESCRIPTORS_H
