// The virtual parallel port, preloaded into any Linux program
// (LD_PRELOAD): the ppdev device at HD_VLCD_PARPORT is the virtual LCD,
// set up by the same HD_VLCD_* variables as the virtual port library, and
// its screen goes to HD_VLCD_OUTPUT when the program ends. Every other path
// and descriptor goes to the system untouched, so a real port on the same
// machine stays safe. Each open of the device is a descriptor of
// /dev/null's, so the program's other calls on it behave.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "module_environment.h"
#include "module_settings.h"
#include "parport_model.h"
#include "report.h"
#include "steady_nanoseconds.h"

namespace {

void Complain(const std::string& message) {
  std::fprintf(stderr, "virtual_parport: %s\n", message.c_str());
}

const char* DevicePath() {
  const char* path = std::getenv("HD_VLCD_PARPORT");
  return path != nullptr && *path != '\0' ? path : nullptr;
}

int64_t Now() { return SteadyNanoseconds(); }

// The port and the descriptors that are its clients.
struct Device {
  vparport::Parport port;
  std::mutex lock;             // over `clients`
  std::map<int, int> clients;  // descriptor: client
};

void SaveAtExit();

// Made at the program's first request and kept to its very end, since
// other code may close descriptors while the program's statics are
// destroyed; the screen is saved as the program exits.
Device& TheDevice() {
  static Device* const device = [] {
    auto* made = new Device;
    MakeParport(made->port, ModuleFromEnvironment(Complain), Now);
    made->port.lcd.findings.record_bytes = FlagFromEnvironment("HD_VLCD_TRACE", false, Complain);
    if (DevicePath() == nullptr) Complain("HD_VLCD_PARPORT names no device, so none is simulated");
    std::atexit(SaveAtExit);
    return made;
  }();
  return *device;
}

void SaveAtExit() {
  Device& device = TheDevice();
  const std::lock_guard<std::mutex> hold(device.port.lock);
  SaveToOutputVariable(device.port.lcd, Complain);
}

template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool IsTheDevice(const char* path) {
  const char* device = DevicePath();
  return path != nullptr && device != nullptr && std::strcmp(path, device) == 0;
}

// A client of the port behind a descriptor of its own.
int OpenDevice(int flags) {
  Device& device = TheDevice();
  const int fd = Next<int (*)(const char*, int, ...)>("open")("/dev/null", flags & O_CLOEXEC);
  if (fd < 0) return fd;
  static bool announced = false;
  const std::lock_guard<std::mutex> hold(device.lock);
  if (!announced) {
    announced = true;
    const char* output = std::getenv("HD_VLCD_OUTPUT");
    Complain(std::string(DevicePath()) + " is the virtual LCD, a " +
             vlcd::Describe(device.port.lcd.module) + ", not a port: nothing reaches any port. " +
             (output != nullptr && *output != '\0'
                  ? "The screen is written to " + vlcd::ScreenPrefixFor(output) +
                        ".txt and .png when the program ends."
                  : std::string("Set HD_VLCD_OUTPUT to save the screen when the program ends.")));
  }
  device.clients[fd] = OpenClient(device.port);
  return fd;
}

// The client behind `fd`, or 0.
int ClientOf(int fd) {
  Device& device = TheDevice();
  const std::lock_guard<std::mutex> hold(device.lock);
  const auto found = device.clients.find(fd);
  return found == device.clients.end() ? 0 : found->second;
}

int Opened(const char* name, const char* path, int flags, std::va_list arguments) {
  if (IsTheDevice(path)) return OpenDevice(flags);
  const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) != 0 ? va_arg(arguments, mode_t) : 0;
  return Next<int (*)(const char*, int, ...)>(name)(path, flags, mode);
}

int OpenedAt(const char* name, int folder, const char* path, int flags, std::va_list arguments) {
  if (IsTheDevice(path)) return OpenDevice(flags);
  const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) != 0 ? va_arg(arguments, mode_t) : 0;
  return Next<int (*)(int, const char*, int, ...)>(name)(folder, path, flags, mode);
}

}  // namespace

#define EXPORTED extern "C" __attribute__((visibility("default")))

EXPORTED int open(const char* path, int flags, ...) {
  std::va_list arguments;
  va_start(arguments, flags);
  const int fd = Opened("open", path, flags, arguments);
  va_end(arguments);
  return fd;
}

EXPORTED int open64(const char* path, int flags, ...) {
  std::va_list arguments;
  va_start(arguments, flags);
  const int fd = Opened("open64", path, flags, arguments);
  va_end(arguments);
  return fd;
}

EXPORTED int openat(int folder, const char* path, int flags, ...) {
  std::va_list arguments;
  va_start(arguments, flags);
  const int fd = OpenedAt("openat", folder, path, flags, arguments);
  va_end(arguments);
  return fd;
}

EXPORTED int openat64(int folder, const char* path, int flags, ...) {
  std::va_list arguments;
  va_start(arguments, flags);
  const int fd = OpenedAt("openat64", folder, path, flags, arguments);
  va_end(arguments);
  return fd;
}

// What programs built with _FORTIFY_SOURCE call for open(path, flags).
EXPORTED int __open_2(const char* path, int flags) {
  if (IsTheDevice(path)) return OpenDevice(flags);
  return Next<int (*)(const char*, int)>("__open_2")(path, flags);
}

EXPORTED int __open64_2(const char* path, int flags) {
  if (IsTheDevice(path)) return OpenDevice(flags);
  return Next<int (*)(const char*, int)>("__open64_2")(path, flags);
}

EXPORTED int ioctl(int fd, unsigned long request, ...) {
  std::va_list arguments;
  va_start(arguments, request);
  void* argument = va_arg(arguments, void*);
  va_end(arguments);
  const int client = ClientOf(fd);
  if (client == 0) return Next<int (*)(int, unsigned long, ...)>("ioctl")(fd, request, argument);
  const int result = ClientRequest(TheDevice().port, client, request, argument);
  if (result == 0) return 0;
  errno = -result;
  return -1;
}

EXPORTED int close(int fd) {
  if (const int client = ClientOf(fd); client != 0) {
    Device& device = TheDevice();
    CloseClient(device.port, client);
    const std::lock_guard<std::mutex> hold(device.lock);
    device.clients.erase(fd);
  }
  return Next<int (*)(int)>("close")(fd);
}
