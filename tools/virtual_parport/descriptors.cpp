#include "descriptors.h"

namespace vparport {

void AddDescriptor(Descriptors& descriptors, int fd, int client) {
  descriptors.client_of[fd] = client;
  ++descriptors.holders[client];
}

int ClientOf(const Descriptors& descriptors, int fd) {
  const auto found = descriptors.client_of.find(fd);
  return found == descriptors.client_of.end() ? 0 : found->second;
}

int DropDescriptor(Descriptors& descriptors, int fd) {
  const auto found = descriptors.client_of.find(fd);
  if (found == descriptors.client_of.end()) return 0;
  const int client = found->second;
  descriptors.client_of.erase(found);
  if (--descriptors.holders[client] > 0) return 0;
  descriptors.holders.erase(client);
  return client;
}

}  // namespace vparport
