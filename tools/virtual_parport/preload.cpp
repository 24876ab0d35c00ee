// The virtual parallel port, preloaded into any Linux program
// (LD_PRELOAD): the ppdev device at HD_VLCD_PARPORT is the virtual LCD,
// set up by the same HD_VLCD_* variables as the virtual port library, and
// its screen goes to HD_VLCD_OUTPUT when the program ends. Every other path
// and descriptor goes to the system untouched, so a real port on the same
// machine stays safe. Each open of the device is a descriptor of
// /dev/null's, so the program's other calls on it behave.
//
// It lives inside someone else's program, so it must never end it: every
// pointer a request carries is copied as the kernel copies it (EFAULT, not
// a fault), descriptors made by dup() lead where the original does, a child
// that draws after fork() is the one whose screen is saved, and a second
// program on the same device is refused rather than left to overwrite the
// first one's screen.
#include <dlfcn.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
// After sys/ioctl.h, which defines the request macros it uses.
#include <linux/ppdev.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "descriptors.h"
#include "live_state.h"
#include "module_environment.h"
#include "module_settings.h"
#include "parport_model.h"
#include "program_advice.h"
#include "report.h"
#include "steady_nanoseconds.h"

namespace {

void Complain(const std::string& message) {
  std::fprintf(stderr, "virtual_parport: %s\n", message.c_str());
}

// Set at start when HD_VLCD_PARPORT names a file that is not a port.
bool device_refused = false;

const char* DevicePath() {
  const char* path = std::getenv("HD_VLCD_PARPORT");
  return !device_refused && path != nullptr && *path != '\0' ? path : nullptr;
}

int64_t Now() { return SteadyNanoseconds(); }

template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// Which process drew last, in memory that fork() shares rather than
// copies: each process keeps its own copy of the module, so the screen
// worth saving is the copy of the last process that drove the pins.
struct Drawing {
  std::atomic<pid_t> last_driver{0};
  std::atomic<pid_t> earlier_driver{0};  // another process that drove it before
};

// The port and the descriptors that are its clients.
struct Device {
  vparport::Parport port;
  std::mutex lock;  // over `descriptors`
  vparport::Descriptors descriptors;
  Drawing* drawing = nullptr;
  pid_t maker = 0;
  vparport::LiveState* live = nullptr;  // HD_VLCD_LIVE's, for a live view
};

// Made at the program's first open of the device and kept to its very end,
// since other code may close descriptors while the program's statics are
// destroyed; the screen is saved as the program exits.
std::mutex making;
Device* the_device = nullptr;
bool taken_elsewhere = false;  // another program has the device
std::atomic<bool> any_descriptor{false};
pid_t this_process = 0;

// What the program reached instead of the device, for its exit.
struct Watch {
  std::mutex lock;
  std::vector<std::string> ports_opened;
  std::vector<std::string> direct_ports;
};
Watch& TheWatch() {
  static Watch* const watch = new Watch;
  return *watch;
}

void Remember(std::vector<std::string>& list, const std::string& item) {
  Watch& watch = TheWatch();
  const std::lock_guard<std::mutex> hold(watch.lock);
  for (const std::string& known : list) {
    if (known == item) return;
  }
  list.push_back(item);
}

void PublishLive(Device& device) {
  if (device.live == nullptr) return;
  const std::lock_guard<std::mutex> hold(device.port.lock);
  vparport::PublishLive(*device.live, device.port.lcd);
}

void NoteDriver(Device& device) {
  PublishLive(device);
  const pid_t before = device.drawing->last_driver.exchange(this_process);
  if (before != 0 && before != this_process) device.drawing->earlier_driver = before;
}

bool IsBlank(const vlcd::Screen& screen) {
  for (const std::vector<int>& row : vlcd::ScreenCodes(screen)) {
    for (const int code : row) {
      if (code >= 0 && code != ' ') return false;  // below 0: the display is off
    }
  }
  return true;
}

void SaveScreen(Device& device) {
  const std::lock_guard<std::mutex> hold(device.port.lock);
  const vlcd::VirtualLcd& lcd = device.port.lcd;
  if (const pid_t other = device.drawing->earlier_driver; other != 0) {
    Complain("processes " + std::to_string(other) + " and " + std::to_string(this_process) +
             " both drove the port, each on its own copy of the module; the screen saved is " +
             std::to_string(this_process) + "'s, the last to drive it");
  }
  SaveToOutputVariable(lcd, Complain);
  if (!IsBlank(vlcd::ScreenLastShown(lcd))) return;
  std::string why = vlcd::Notes(lcd);
  if (why.empty()) {
    why = lcd.traffic.port_writes == 0
              ? "the program opened " + std::string(DevicePath()) + " but never drove its lines."
              : "the program wrote no text to it.";
  }
  while (!why.empty() && why.back() == '\n') why.pop_back();
  Complain("the screen is blank: " + why);
}

void AtExit() {
  if (Device* device = the_device) {
    const pid_t last = device->drawing->last_driver;
    if (last == this_process || (last == 0 && device->maker == this_process)) {
      SaveScreen(*device);
    }
    return;
  }
  if (taken_elsewhere || DevicePath() == nullptr) return;
  Watch& watch = TheWatch();
  const std::lock_guard<std::mutex> hold(watch.lock);
  const std::string advice =
      vparport::NeverOpenedAdvice(DevicePath(), watch.ports_opened, watch.direct_ports);
  if (!advice.empty()) Complain(advice);
}

void AfterFork() { this_process = getpid(); }

// Said by the first process of a tree only: a program's children are
// preloaded too, and would repeat it.
constexpr char kSaidVariable[] = "HD_VLCD_PARPORT_SAID";

// The checks that can be made before the program runs, said before it runs.
__attribute__((constructor)) void AtStart() {
  this_process = getpid();
  pthread_atfork(nullptr, nullptr, AfterFork);
  const bool say = std::getenv(kSaidVariable) == nullptr;
  const char* path = std::getenv("HD_VLCD_PARPORT");
  if (path == nullptr || *path == '\0') {
    if (say) {
      Complain(
          "HD_VLCD_PARPORT is not set, so nothing is simulated: the parallel ports this program "
          "opens are the system's. Set it to the device the program opens, such as "
          "/dev/parport0");
    }
  } else if (const Problem problem = vparport::DevicePathProblem(path)) {
    device_refused = true;
    if (say) Complain(*problem);
  } else {
    if (say) {
      if (const Problem output = OutputVariableProblem()) {
        Complain(*output);
      }
    }
    std::atexit(AtExit);
  }
  if (say) setenv(kSaidVariable, "1", 0);
}

// One program at a time on a device: the first takes a name in the
// abstract socket space (the kernel drops it when the last process holding
// it ends, however it ends) and its children inherit it with the module.
// The process that holds the name, or 0 when it could not be told.
bool TakeDevice(const char* path, pid_t* holder) {
  const int name = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (name < 0) return true;  // no way to tell: the program goes on alone
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string text = "hd66712-virtual-parport:" + std::to_string(getuid()) + ":" + path;
  const size_t length = std::min(text.size(), sizeof address.sun_path - 1);
  std::memcpy(address.sun_path + 1, text.data(), length);
  const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
  if (bind(name, reinterpret_cast<sockaddr*>(&address), size) == 0) {
    listen(name, 1);
    return true;
  }
  const int asker = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ucred credentials{};
  socklen_t credentials_size = sizeof credentials;
  *holder = 0;
  if (asker >= 0 && connect(asker, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
      getsockopt(asker, SOL_SOCKET, SO_PEERCRED, &credentials, &credentials_size) == 0) {
    *holder = credentials.pid;
  }
  Next<int (*)(int)>("close")(asker);
  Next<int (*)(int)>("close")(name);
  return false;
}

Device* MakeDevice(const char* path) {
  const std::lock_guard<std::mutex> hold(making);
  if (the_device != nullptr || taken_elsewhere) return the_device;
  pid_t holder = 0;
  if (!TakeDevice(path, &holder)) {
    taken_elsewhere = true;
    Complain(std::string(path) + " is already the virtual LCD of another program" +
             (holder != 0 ? " (process " + std::to_string(holder) + ")" : std::string()) +
             ", so this one is refused (EBUSY): two programs on one module would each draw on "
             "a copy of their own. Give this one another HD_VLCD_PARPORT, or end the other "
             "first.");
    return nullptr;
  }
  void* shared =
      mmap(nullptr, sizeof(Drawing), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  if (shared == MAP_FAILED) {
    Complain(std::string("cannot share the module with child processes: ") + std::strerror(errno));
    return nullptr;
  }
  auto* device = new Device;
  device->drawing = new (shared) Drawing;
  device->maker = this_process;
  MakeParport(device->port, ModuleFromEnvironment(Complain), Now);
  device->port.lcd.driver = vlcd::Driver::PortProgram;
  device->port.lcd.findings.record_bytes = FlagFromEnvironment("HD_VLCD_TRACE", false, Complain);
  if (const char* live = std::getenv("HD_VLCD_LIVE"); live != nullptr && *live != '\0') {
    device->live = vparport::MapLiveState(live);
    if (device->live == nullptr) Complain(std::string("HD_VLCD_LIVE: cannot map ") + live);
    PublishLive(*device);
  }
  const char* output = std::getenv("HD_VLCD_OUTPUT");
  Complain(std::string(path) + " is the virtual LCD, a " + vlcd::Describe(device->port.lcd.module) +
           ", not a port: nothing reaches any port. " +
           (output != nullptr && *output != '\0'
                ? "The screen is written to " + vlcd::ScreenPrefixFor(output) +
                      ".txt and .png when the program ends."
                : std::string("Set HD_VLCD_OUTPUT to save the screen when the program ends.")));
  the_device = device;
  return device;
}

// A client of the port behind a descriptor of its own.
int OpenDevice(const char* path, int flags) {
  Device* device = MakeDevice(path);
  if (device == nullptr) {
    errno = EBUSY;
    return -1;
  }
  const int fd = Next<int (*)(const char*, int, ...)>("open")("/dev/null", flags & O_CLOEXEC);
  if (fd < 0) return fd;
  const std::lock_guard<std::mutex> hold(device->lock);
  AddDescriptor(device->descriptors, fd, OpenClient(device->port));
  any_descriptor = true;
  return fd;
}

// The client behind `fd`, or 0; cheap for the program's other descriptors.
int ClientOf(int fd) {
  Device* device = the_device;
  if (!any_descriptor || device == nullptr) return 0;
  const std::lock_guard<std::mutex> hold(device->lock);
  return vparport::ClientOf(device->descriptors, fd);
}

// Forgets `fd`, and closes its client when no other descriptor leads to it.
void DropDescriptor(int fd) {
  Device* device = the_device;
  if (!any_descriptor || device == nullptr) return;
  int client = 0;
  {
    const std::lock_guard<std::mutex> hold(device->lock);
    client = vparport::DropDescriptor(device->descriptors, fd);
  }
  if (client != 0) CloseClient(device->port, client);
}

// `copy` (made by dup and its kin from `fd`, or -1) leads where `fd` does.
int Duplicated(int fd, int copy) {
  if (copy < 0) return copy;
  const int client = ClientOf(fd);
  if (client == 0) return copy;
  const std::lock_guard<std::mutex> hold(the_device->lock);
  AddDescriptor(the_device->descriptors, copy, client);
  return copy;
}

bool IsTheDevice(const char* path) {
  const char* device = DevicePath();
  return path != nullptr && device != nullptr && std::strcmp(path, device) == 0;
}

int OpenOrWatch(const char* path, int flags, bool* handled) {
  *handled = IsTheDevice(path);
  if (*handled) return OpenDevice(path, flags);
  if (path != nullptr && DevicePath() != nullptr && vparport::LooksLikeParallelPort(path)) {
    Remember(TheWatch().ports_opened, path);
  }
  return 0;
}

int Opened(const char* name, const char* path, int flags, std::va_list arguments) {
  bool handled = false;
  const int fd = OpenOrWatch(path, flags, &handled);
  if (handled) return fd;
  const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) != 0 ? va_arg(arguments, mode_t) : 0;
  return Next<int (*)(const char*, int, ...)>(name)(path, flags, mode);
}

int OpenedAt(const char* name, int folder, const char* path, int flags, std::va_list arguments) {
  bool handled = false;
  const int fd = OpenOrWatch(path, flags, &handled);
  if (handled) return fd;
  const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) != 0 ? va_arg(arguments, mode_t) : 0;
  return Next<int (*)(int, const char*, int, ...)>(name)(folder, path, flags, mode);
}

ssize_t Answer(ssize_t result) {
  if (result >= 0) return result;
  errno = -result;
  return -1;
}

// The requests that change what the module's pins see.
bool DrivesThePins(unsigned long request) {
  return request == PPCLAIM || request == PPWDATA || request == PPWCONTROL ||
         request == PPFCONTROL || request == PPDATADIR;
}

int Fcntl(const char* name, int fd, int command, void* argument) {
  const int result = Next<int (*)(int, int, ...)>(name)(fd, command, argument);
  if (command != F_DUPFD && command != F_DUPFD_CLOEXEC) return result;
  return Duplicated(fd, result);
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
  bool handled = false;
  const int fd = OpenOrWatch(path, flags, &handled);
  if (handled) return fd;
  return Next<int (*)(const char*, int)>("__open_2")(path, flags);
}

EXPORTED int __open64_2(const char* path, int flags) {
  bool handled = false;
  const int fd = OpenOrWatch(path, flags, &handled);
  if (handled) return fd;
  return Next<int (*)(const char*, int)>("__open64_2")(path, flags);
}

EXPORTED int ioctl(int fd, unsigned long request, ...) {
  std::va_list arguments;
  va_start(arguments, request);
  void* argument = va_arg(arguments, void*);
  va_end(arguments);
  const int client = ClientOf(fd);
  if (client == 0) return Next<int (*)(int, unsigned long, ...)>("ioctl")(fd, request, argument);
  const int result = ClientRequest(the_device->port, client, request, argument);
  if (result == 0 && DrivesThePins(request)) NoteDriver(*the_device);
  return static_cast<int>(Answer(result));
}

EXPORTED ssize_t read(int fd, void* buffer, size_t count) {
  static const auto next = Next<ssize_t (*)(int, void*, size_t)>("read");
  const int client = ClientOf(fd);
  if (client == 0) return next(fd, buffer, count);
  return Answer(ClientRead(the_device->port, client, buffer, count));
}

EXPORTED ssize_t write(int fd, const void* buffer, size_t count) {
  static const auto next = Next<ssize_t (*)(int, const void*, size_t)>("write");
  const int client = ClientOf(fd);
  if (client == 0) return next(fd, buffer, count);
  const ssize_t result = ClientWrite(the_device->port, client, buffer, count);
  if (result >= 0 && count > 0) NoteDriver(*the_device);
  return Answer(result);
}

EXPORTED int close(int fd) {
  DropDescriptor(fd);
  return Next<int (*)(int)>("close")(fd);
}

EXPORTED int dup(int fd) { return Duplicated(fd, Next<int (*)(int)>("dup")(fd)); }

EXPORTED int dup2(int fd, int copy) {
  if (fd != copy) DropDescriptor(copy);
  return Duplicated(fd, Next<int (*)(int, int)>("dup2")(fd, copy));
}

EXPORTED int dup3(int fd, int copy, int flags) {
  if (fd != copy) DropDescriptor(copy);
  return Duplicated(fd, Next<int (*)(int, int, int)>("dup3")(fd, copy, flags));
}

EXPORTED int fcntl(int fd, int command, ...) {
  std::va_list arguments;
  va_start(arguments, command);
  void* argument = va_arg(arguments, void*);
  va_end(arguments);
  return Fcntl("fcntl", fd, command, argument);
}

// What programs built with 64-bit file offsets call for fcntl.
EXPORTED int fcntl64(int fd, int command, ...) {
  std::va_list arguments;
  va_start(arguments, command);
  void* argument = va_arg(arguments, void*);
  va_end(arguments);
  return Fcntl("fcntl64", fd, command, argument);
}

// Direct port access goes around ppdev, so nothing of it can be seen: it is
// passed on, and said at exit if the device was never opened.
EXPORTED int ioperm(unsigned long from, unsigned long count, int on) {
  if (on != 0 && count > 0 && DevicePath() != nullptr) {
    char text[48];
    std::snprintf(text, sizeof text, "ioperm 0x%lX-0x%lX", from, from + count - 1);
    Remember(TheWatch().direct_ports, text);
  }
  return Next<int (*)(unsigned long, unsigned long, int)>("ioperm")(from, count, on);
}

EXPORTED int iopl(int level) {
  if (level > 0 && DevicePath() != nullptr) Remember(TheWatch().direct_ports, "iopl");
  return Next<int (*)(int)>("iopl")(level);
}
