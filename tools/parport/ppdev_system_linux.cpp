#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "ppdev_system.h"

namespace {

int OpenDevice(const char* path, int flags) { return ::open(path, flags); }
int Control(int fd, unsigned long request, void* argument) {
  return ::ioctl(fd, request, argument);
}
int CloseDevice(int fd) { return ::close(fd); }

}  // namespace

PpdevSystem ppdev_system{OpenDevice, Control, CloseDevice, "/proc", 3000};
