// A fake parallel-port device for the Linux port library, preloaded into a
// whole program (LD_PRELOAD): opening the path in HD_PARPORT gives a device
// whose register writes drive a virtual module, and the module's screen is
// saved to FAKE_PARPORT_SCREEN.txt and .png when the program ends. Every
// other file and request goes to the system as usual.
//
// FAKE_PARPORT_FAIL makes the device fail as the kernel's does: "open=EACCES"
// or "open=ENOENT"; "claim=ENXIO", as when another program holds the port
// exclusively; "claim=WAIT", as when another program holds it claimed, so
// that the claim waits until a signal ends it (EINTR); or "write=EIO@N" for
// the Nth register write (from 1). Its control register reads its upper
// bits, which drive no pin, as 1.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/ioctl.h>
// After sys/ioctl.h, which defines the request macros it uses.
#include <linux/ppdev.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "report.h"
#include "steady_nanoseconds.h"
#include "test_lcd.h"
#include "virtual_lcd.h"

namespace {

constexpr int kFakeFd = 1000;

struct FakeParport {
  vlcd::VirtualLcd lcd = MakeTestLcd(vlcd::Chip::HD44780, 20, 4);
  bool open = false;
  long writes = 0;
  ~FakeParport() {
    const char* screen = std::getenv("FAKE_PARPORT_SCREEN");
    if (screen != nullptr && *screen != '\0') vlcd::SaveScreen(lcd, vlcd::ScreenNow(lcd), screen);
  }
} device;

template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool IsFakePath(const char* path) {
  const char* fake = std::getenv("HD_PARPORT");
  return path != nullptr && fake != nullptr && std::strcmp(path, fake) == 0;
}

// Whether `call` ("open", "claim", "write") is to fail now; sets errno.
bool Fails(const char* call) {
  const char* failure = std::getenv("FAKE_PARPORT_FAIL");
  if (failure == nullptr) return false;
  const std::string text = failure;
  const size_t equals = text.find('=');
  if (text.substr(0, equals) != call) return false;
  const size_t at = text.find('@');
  if (at != std::string::npos && std::atol(text.c_str() + at + 1) != device.writes) return false;
  const std::string name = text.substr(equals + 1, at == std::string::npos ? at : at - equals - 1);
  if (name == "WAIT") {
    timespec forever{600, 0};
    nanosleep(&forever, nullptr);  // ends early, with EINTR, only on a signal
    errno = EINTR;
    return true;
  }
  errno = name == "EACCES" ? EACCES : name == "ENXIO" ? ENXIO : name == "ENOENT" ? ENOENT : EIO;
  return true;
}

int OpenFake() {
  if (Fails("open")) return -1;
  device.open = true;
  return kFakeFd;
}

}  // namespace

namespace {

// Both names of the system's open come here; the mode is passed on as given.
int Open(const char* name, const char* path, int flags, std::va_list arguments) {
  if (IsFakePath(path)) return OpenFake();
  const mode_t mode = va_arg(arguments, mode_t);
  return Next<int (*)(const char*, int, ...)>(name)(path, flags, mode);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int open(const char* path, int flags, ...) {
  std::va_list arguments;
  va_start(arguments, flags);
  const int fd = Open("open", path, flags, arguments);
  va_end(arguments);
  return fd;
}

extern "C" __attribute__((visibility("default"))) int open64(const char* path, int flags, ...) {
  std::va_list arguments;
  va_start(arguments, flags);
  const int fd = Open("open64", path, flags, arguments);
  va_end(arguments);
  return fd;
}

// A program built with _FORTIFY_SOURCE, as Debian builds them, opens through
// these when the flags are not known at compile time.
extern "C" __attribute__((visibility("default"))) int __open_2(const char* path, int flags) {
  if (IsFakePath(path)) return OpenFake();
  return Next<int (*)(const char*, int)>("__open_2")(path, flags);
}

extern "C" __attribute__((visibility("default"))) int __open64_2(const char* path, int flags) {
  if (IsFakePath(path)) return OpenFake();
  return Next<int (*)(const char*, int)>("__open64_2")(path, flags);
}

extern "C" __attribute__((visibility("default"))) int ioctl(int fd, unsigned long request, ...) {
  std::va_list arguments;
  va_start(arguments, request);
  void* argument = va_arg(arguments, void*);
  va_end(arguments);
  if (fd != kFakeFd) return Next<int (*)(int, unsigned long, ...)>("ioctl")(fd, request, argument);
  auto* byte = static_cast<unsigned char*>(argument);
  const int64_t now = SteadyNanoseconds();
  if (request == PPWDATA || request == PPWCONTROL) ++device.writes;
  if ((request == PPCLAIM && Fails("claim")) ||
      ((request == PPWDATA || request == PPWCONTROL) && Fails("write"))) {
    return -1;
  }
  switch (request) {
    case PPWDATA:
      vlcd::ReceivePortWrite(device.lcd, device.lcd.module.port_base, *byte, now);
      break;
    case PPWCONTROL:
      vlcd::ReceivePortWrite(device.lcd, vlcd::ControlRegister(device.lcd.module), *byte, now);
      break;
    case PPRDATA:
      *byte = device.lcd.bus.data_register;
      break;
    case PPRCONTROL:
      *byte = device.lcd.bus.control_register | 0xF0;
      break;
    default:
      break;  // claim, release, data direction: always granted
  }
  return 0;
}

extern "C" __attribute__((visibility("default"))) int close(int fd) {
  if (fd == kFakeFd) {
    device.open = false;
    return 0;
  }
  return Next<int (*)(int)>("close")(fd);
}
