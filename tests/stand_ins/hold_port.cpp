// Another program that holds a parallel port, as a daemon driving it would:
// it claims the ppdev device, after PPEXCL with --exclusive, says so on one
// line, and keeps the claim until it is ended by a signal.
//   hold_port DEVICE [--exclusive]
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>
// After sys/ioctl.h, which defines the request macros it uses.
#include <linux/ppdev.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  const bool exclusive = argc == 3 && std::strcmp(argv[2], "--exclusive") == 0;
  if (argc != 2 && !exclusive) {
    std::fprintf(stderr, "usage: hold_port DEVICE [--exclusive]\n");
    return 2;
  }
  const int fd = open(argv[1], O_RDWR);
  if (fd < 0) {
    std::fprintf(stderr, "hold_port: %s: %s\n", argv[1], std::strerror(errno));
    return 1;
  }
  if ((exclusive && ioctl(fd, PPEXCL) != 0) || ioctl(fd, PPCLAIM) != 0) {
    std::fprintf(stderr, "hold_port: %s: %s\n", argv[1], std::strerror(errno));
    return 1;
  }
  std::printf("hold_port: holding %s%s\n", argv[1], exclusive ? " exclusively" : "");
  std::fflush(stdout);
  pause();
  return 0;
}
