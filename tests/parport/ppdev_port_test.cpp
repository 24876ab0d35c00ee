// The Linux port library's calls into the parallel-port device, against a
// fake that records every request with its byte and can fail any call.
#include "ppdev_port.h"

#include <fcntl.h>
#include <sys/ioctl.h>
// After sys/ioctl.h, which defines the request macros it uses.
#include <gtest/gtest.h>
#include <linux/ppdev.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ppdev_system.h"
#include "scratch_directory.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFakeFd = 7;

struct FakeDevice {
  std::vector<std::string> calls;  // "open /dev/x", "PPCLAIM", "PPWDATA 0x41", ...
  int fail_call = -1;              // the call, counted from 0, that fails
  int fail_errno = 0;
  uint8_t data = 0x00;
  uint8_t control = 0x0B;

  bool Fails() {
    if (static_cast<int>(calls.size()) - 1 != fail_call) return false;
    errno = fail_errno;
    return true;
  }
};

FakeDevice fake;

std::string Hex(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

int FakeOpen(const char* path, int) {
  fake.calls.push_back(std::string("open ") + path);
  return fake.Fails() ? -1 : kFakeFd;
}

int FakeIoctl(int fd, unsigned long request, void* argument) {
  EXPECT_EQ(fd, kFakeFd);
  auto* byte = static_cast<unsigned char*>(argument);
  switch (request) {
    case PPCLAIM:
      fake.calls.push_back("PPCLAIM");
      break;
    case PPRELEASE:
      fake.calls.push_back("PPRELEASE");
      break;
    case PPDATADIR:
      fake.calls.push_back("PPDATADIR " + std::to_string(*static_cast<int*>(argument)));
      break;
    case PPWDATA:
      fake.calls.push_back("PPWDATA " + Hex(*byte));
      fake.data = *byte;
      break;
    case PPWCONTROL:
      fake.calls.push_back("PPWCONTROL " + Hex(*byte));
      fake.control = *byte;
      break;
    case PPRDATA:
      fake.calls.push_back("PPRDATA");
      *byte = fake.data;
      break;
    case PPRCONTROL:
      fake.calls.push_back("PPRCONTROL");
      *byte = fake.control;
      break;
    default:
      fake.calls.push_back("request " + std::to_string(request));
  }
  return fake.Fails() ? -1 : 0;
}

int FakeClose(int fd) {
  EXPECT_EQ(fd, kFakeFd);
  fake.calls.push_back("close");
  return 0;
}

using Calls = std::vector<std::string>;

class PpdevPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = ppdev_system;
    ppdev_system = PpdevSystem{FakeOpen, FakeIoctl, FakeClose};
    fake = FakeDevice{};
    setenv("HD_PARPORT", "/dev/parport3", 1);
  }
  void TearDown() override {
    PpdevRelease();
    ppdev_system = saved_;
    unsetenv("HD_PARPORT");
  }
  PpdevSystem saved_{};
};

TEST_F(PpdevPortTest, ClaimsOnceWritesRawRegistersAndReleasesOnce) {
  PpdevWrite(0x37A, 0x0B);
  PpdevWrite(0x378, 0xC3);
  PpdevWrite(0x379, 0x55);  // the status register takes no writes
  EXPECT_EQ(PpdevRead(0x378), 0xC3);
  EXPECT_EQ(PpdevRead(0x37A), 0x0B);
  EXPECT_EQ(PpdevRead(0x379), 0xFF);
  PpdevRelease();
  PpdevRelease();
  EXPECT_EQ(fake.calls, (Calls{"open /dev/parport3", "PPCLAIM", "PPDATADIR 0", "PPWCONTROL 0x0B",
                               "PPWDATA 0xC3", "PPRDATA", "PPRCONTROL", "PPRELEASE", "close"}));
}

TEST_F(PpdevPortTest, EachFailureIsReportedOnceAndNothingIsWrittenAfterIt) {
  const struct {
    int call;  // 0 open, 1 claim, 2 data direction
    int error;
    const char* message;
  } cases[] = {
      {0, ENOENT,
       "/dev/parport3: no parallel port, or the ppdev module is not loaded: modprobe "
       "ppdev; USB printer adapters cannot drive an LCD. Nothing is written to the "
       "port."},
      {0, EACCES,
       "/dev/parport3: permission denied: add your user to the lp group and log in "
       "again. Nothing is written to the port."},
      {0, EBUSY,
       "/dev/parport3: another program holds the port, for example the printer driver "
       "lp (rmmod lp). Nothing is written to the port."},
      {1, ENXIO, "/dev/parport3: no port behind the device. Nothing is written to the port."},
      {1, EBUSY,
       "/dev/parport3: another program holds the port, for example the printer driver "
       "lp (rmmod lp). Nothing is written to the port."},
      {2, EINVAL, "/dev/parport3: the data lines cannot be set to output: Invalid argument"},
  };
  for (const auto& c : cases) {
    PpdevRelease();
    fake = FakeDevice{};
    fake.fail_call = c.call;
    fake.fail_errno = c.error;
    ::testing::internal::CaptureStderr();
    PpdevWrite(0x37A, 0x0B);
    PpdevWrite(0x378, 0x41);
    EXPECT_EQ(PpdevRead(0x378), 0xFF);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, std::string("inpout32.dll (Linux parallel port): ") + c.message + "\n");
    for (const std::string& call : fake.calls) {
      EXPECT_EQ(call.rfind("PPW", 0), std::string::npos) << c.message;
      EXPECT_EQ(call.rfind("PPR", 0) == 0 && call != "PPRELEASE", false) << c.message;
    }
    // A device that was opened is closed again, and one claimed is released.
    const bool opened = c.call > 0;
    EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), "close"), opened ? 1 : 0);
    EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), "PPRELEASE"), c.call == 2 ? 1 : 0);
  }
}

TEST_F(PpdevPortTest, TheDeviceIsChosenByVariableThenByBaseAddress) {
  ScratchDirectory scratch;
  for (const auto& [name, base] : {std::pair{"parport0", "888\t1912\n"}, {"parport1", "632\n"}}) {
    fs::create_directories(scratch.path() / "proc" / name);
    std::ofstream(scratch.path() / "proc" / name / "base-addr") << base;
  }
  const std::string proc = (scratch.path() / "proc").string();
  EXPECT_EQ(PpdevDeviceFor(0x278, proc), "/dev/parport3");
  unsetenv("HD_PARPORT");
  EXPECT_EQ(PpdevDeviceFor(0x278, proc), "/dev/parport1");
  EXPECT_EQ(PpdevDeviceFor(0x378, proc), "/dev/parport0");
  EXPECT_EQ(PpdevDeviceFor(0x3BC, proc), "/dev/parport0");
  EXPECT_EQ(PpdevDeviceFor(0x278, (scratch.path() / "none").string()), "/dev/parport0");
}

}  // namespace
