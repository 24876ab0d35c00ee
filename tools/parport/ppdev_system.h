// The system calls the Linux port library makes, behind one record of
// function pointers, so the tests can put a fake device in their place: one
// that records every request and fails any call with a chosen errno.
#ifndef PARPORT_PPDEV_SYSTEM_H
#define PARPORT_PPDEV_SYSTEM_H

struct PpdevSystem {
  int (*open)(const char* path, int flags);
  int (*ioctl)(int fd, unsigned long request, void* argument);
  int (*close)(int fd);
  // Where the kernel describes its ports (sys/dev/parport/*/base-addr) and
  // its processes' open files (<pid>/fd): "/proc", or a test's own folder.
  const char* proc;
  // How long a claim may wait for another program to let go of the port.
  int claim_wait_ms;
};

// The real calls at load; tests swap them.
extern PpdevSystem ppdev_system;

#endif  // PARPORT_PPDEV_SYSTEM_H
