#include "ppdev_port.h"

#include <fcntl.h>
#include <sys/ioctl.h>
// After sys/ioctl.h, which defines the request macros it uses.
#include <linux/ppdev.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "ppdev_system.h"

namespace {

constexpr char kProcFolder[] = "/proc/sys/dev/parport";
constexpr char kDefaultDevice[] = "/dev/parport0";
constexpr uint16_t kControlOffset = 2;

struct PpdevState {
  bool tried = false;  // the first access happened
  int fd = -1;         // claimed when not -1
};

// Only this file reads or writes the record.
PpdevState ppdev_state;

void Report(const std::string& problem) {
  std::fprintf(stderr, "inpout32.dll (Linux parallel port): %s\n", problem.c_str());
}

// Opens and claims the device, with the data lines as outputs; reports the
// first failure once.
void Claim(uint16_t base) {
  ppdev_state.tried = true;
  const std::string device = PpdevDeviceFor(base, kProcFolder);
  const int fd = ppdev_system.open(device.c_str(), O_RDWR);
  if (fd < 0) {
    Report(PpdevProblem(errno, device, false));
    return;
  }
  if (ppdev_system.ioctl(fd, PPCLAIM, nullptr) != 0) {
    Report(PpdevProblem(errno, device, true));
    ppdev_system.close(fd);
    return;
  }
  int output = 0;
  if (ppdev_system.ioctl(fd, PPDATADIR, &output) != 0) {
    Report(device + ": the data lines cannot be set to output: " + std::strerror(errno));
    ppdev_system.ioctl(fd, PPRELEASE, nullptr);
    ppdev_system.close(fd);
    return;
  }
  ppdev_state.fd = fd;
}

// The claimed device for an access at `port`, or -1.
int DeviceFor(uint16_t port) {
  if (!ppdev_state.tried) Claim(static_cast<uint16_t>(port & ~3u));
  return ppdev_state.fd;
}

}  // namespace

std::string PpdevDeviceFor(uint16_t base, const std::string& proc_folder) {
  if (const char* chosen = std::getenv("HD_PARPORT"); chosen != nullptr && *chosen != '\0') {
    return chosen;
  }
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(proc_folder, error)) {
    std::ifstream file(entry.path() / "base-addr");
    long address = -1;
    if (file >> address && address == base) {
      return "/dev/" + entry.path().filename().string();
    }
  }
  return kDefaultDevice;
}

std::string PpdevProblem(int error, const std::string& device, bool claiming) {
  std::string fix;
  switch (error) {
    case ENOENT:
    case ENODEV:
      fix =
          "no parallel port, or the ppdev module is not loaded: modprobe ppdev; USB printer "
          "adapters cannot drive an LCD";
      break;
    case ENXIO:
      fix = claiming ? "no port behind the device"
                     : "no parallel port, or the ppdev module is not loaded: modprobe ppdev; USB "
                       "printer adapters cannot drive an LCD";
      break;
    case EACCES:
    case EPERM:
      fix = "permission denied: add your user to the lp group and log in again";
      break;
    case EBUSY:
      fix = "another program holds the port, for example the printer driver lp (rmmod lp)";
      break;
    default:
      fix = std::strerror(error);
  }
  return device + ": " + fix + ". Nothing is written to the port.";
}

void PpdevWrite(uint16_t port, uint8_t value) {
  const int fd = DeviceFor(port);
  if (fd < 0) return;
  const uint16_t offset = port & 3u;
  if (offset == 0) {
    ppdev_system.ioctl(fd, PPWDATA, &value);
  } else if (offset == kControlOffset) {
    ppdev_system.ioctl(fd, PPWCONTROL, &value);
  }
}

uint8_t PpdevRead(uint16_t port) {
  const int fd = DeviceFor(port);
  const uint16_t offset = port & 3u;
  unsigned char value = 0xFF;
  if (fd < 0 || (offset != 0 && offset != kControlOffset)) return 0xFF;
  if (ppdev_system.ioctl(fd, offset == 0 ? PPRDATA : PPRCONTROL, &value) != 0) return 0xFF;
  return value;
}

void PpdevRelease() {
  if (ppdev_state.fd >= 0) {
    ppdev_system.ioctl(ppdev_state.fd, PPRELEASE, nullptr);
    ppdev_system.close(ppdev_state.fd);
  }
  ppdev_state = PpdevState{};
}
