// The Linux port library's calls into the parallel-port device, against a
// fake that records every request with its byte and can fail any call.
#include "ppdev_port.h"

#include <fcntl.h>
#include <sys/ioctl.h>
// After sys/ioctl.h, which defines the request macros it uses.
#include <gtest/gtest.h>
#include <linux/ppdev.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <ctime>
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
  // Another program holds the port claimed: a claim waits, as the kernel's
  // does, until a signal ends the wait (EINTR).
  bool claim_waits = false;
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
      if (fake.claim_waits) {
        timespec forever{60, 0};
        if (nanosleep(&forever, nullptr) != 0) return -1;  // errno EINTR
      }
      fake.control = 0x0C;  // parport_pc's start state for a new claimant
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
      // The upper bits drive no pin; a port reads them as it likes.
      fake.calls.push_back("PPRCONTROL");
      *byte = fake.control | 0xF0;
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
    proc_ = (scratch_.path() / "proc").string();
    fs::create_directories(proc_);
    ppdev_system = PpdevSystem{FakeOpen, FakeIoctl, FakeClose, proc_.c_str(), 100};
    fake = FakeDevice{};
    setenv("HD_PARPORT", "/dev/parport3", 1);
  }
  void TearDown() override {
    PpdevRelease();
    ppdev_system = saved_;
    unsetenv("HD_PARPORT");
  }
  // A port the system lists, at `base`.
  void ListPort(const char* name, const char* base) {
    fs::create_directories(fs::path(proc_) / "sys/dev/parport" / name);
    std::ofstream(fs::path(proc_) / "sys/dev/parport" / name / "base-addr") << base;
  }
  PpdevSystem saved_{};
  ScratchDirectory scratch_;
  std::string proc_;
};

TEST_F(PpdevPortTest, ClaimsOnceWritesRawRegistersAndReleasesOnce) {
  PpdevWrite(0x37A, 0x0B);
  PpdevWrite(0x378, 0xC3);
  PpdevWrite(0x379, 0x55);  // the status register takes no writes
  EXPECT_EQ(PpdevRead(0x378), 0xC3);
  EXPECT_EQ(PpdevRead(0x37A), 0xFB);  // passed on as read; lcd_host masks
  EXPECT_EQ(PpdevRead(0x379), 0xFF);
  EXPECT_EQ(PpdevProblem(), nullptr);
  PpdevRelease();
  PpdevRelease();
  // The claim's read is ended by E falling alone before the first write.
  EXPECT_EQ(fake.calls, (Calls{"open /dev/parport3", "PPCLAIM", "PPDATADIR 0", "PPRCONTROL",
                               "PPWCONTROL 0x0D", "PPWCONTROL 0x0B", "PPWDATA 0xC3", "PPRDATA",
                               "PPRCONTROL", "PPRELEASE", "close"}));
}

TEST_F(PpdevPortTest, EachFailureIsReportedOnceWithItsCauseAndNothingIsWrittenAfterIt) {
  // Another program holds the device: process 4242, as the system lists it.
  fs::create_directories(fs::path(proc_) / "4242/fd");
  std::ofstream(fs::path(proc_) / "4242/comm") << "cupsd\n";
  fs::create_symlink("/dev/parport3", fs::path(proc_) / "4242/fd/5");
  const std::string absent =
      ": no parallel port there. Load the port's drivers (sudo modprobe parport_pc, then sudo "
      "modprobe ppdev), make sure the port is enabled in the BIOS/UEFI setup, and check that "
      "the system lists it (/proc/sys/dev/parport/*/base-addr). A USB printer adapter cannot "
      "drive an LCD; or HD_PARPORT names the wrong device. Nothing is written to the port.";
  const struct {
    int call;  // 0 open, 1 claim, 2 data direction, 3-4 ending the claim's read, 5 the first write
    int error;
    bool holder_listed;
    std::string message;
  } cases[] = {
      {1, EBUSY, true,
       "/dev/parport3 (named by HD_PARPORT): the port is busy, held by process 4242 (cupsd). "
       "Close it, or stop it, and try again. Nothing is written to the port."},
      {1, ENXIO, true,
       "/dev/parport3 (named by HD_PARPORT): the port is held exclusively by process 4242 "
       "(cupsd). Close it, or stop it, and try again. Nothing is written to the port."},
      {0, ENOENT, false, "/dev/parport3 (named by HD_PARPORT)" + absent},
      {1, ENXIO, false,
       "/dev/parport3 (named by HD_PARPORT): the port is held exclusively by another program "
       "(find it with fuser -v /dev/parport3) or by the printer driver lp (sudo rmmod lp). "
       "Close it, or stop it, and try again. Nothing is written to the port."},
      {0, ENXIO, false, "/dev/parport3 (named by HD_PARPORT)" + absent},
      {0, ENODEV, false, "/dev/parport3 (named by HD_PARPORT)" + absent},
      {0, EACCES, false,
       "/dev/parport3 (named by HD_PARPORT): permission denied. Add your user to the lp group "
       "(sudo usermod -aG lp $USER) and log in again. Nothing is written to the port."},
      {0, EPERM, false,
       "/dev/parport3 (named by HD_PARPORT): permission denied. Add your user to the lp group "
       "(sudo usermod -aG lp $USER) and log in again. Nothing is written to the port."},
      {0, EBUSY, false,
       "/dev/parport3 (named by HD_PARPORT): the port is busy, held by another program (find it "
       "with fuser -v /dev/parport3) or by the printer driver lp (sudo rmmod lp). Close it, or "
       "stop it, and try again. Nothing is written to the port."},
      {1, ENOTTY, false,
       "/dev/parport3 (named by HD_PARPORT) is not a parallel port device (Inappropriate ioctl "
       "for device): a port is a device such as /dev/parport0. Nothing is written to the port."},
      {2, EINVAL, false, "/dev/parport3: the data lines cannot be set to output: Invalid argument"},
      {3, EIO, false,
       "/dev/parport3: a register read failed: Input/output error. Nothing more is written to "
       "the port."},
      {5, EIO, false,
       "/dev/parport3: a register write failed: Input/output error. Nothing more is written to "
       "the port."},
  };
  for (const auto& c : cases) {
    PpdevRelease();
    fake = FakeDevice{};
    fake.fail_call = c.call;
    fake.fail_errno = c.error;
    if (!c.holder_listed) fs::remove(fs::path(proc_) / "4242/fd/5");  // listed first only
    ::testing::internal::CaptureStderr();
    PpdevWrite(0x37A, 0x0B);
    PpdevWrite(0x378, 0x41);
    EXPECT_EQ(PpdevRead(0x378), 0xFF);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "inpout32.dll (Linux parallel port): " + c.message + "\n");
    ASSERT_NE(PpdevProblem(), nullptr);
    EXPECT_EQ(PpdevProblem(), c.message);
    // Nothing after the failing call reaches the device.
    for (size_t call = static_cast<size_t>(c.call) + 1; call < fake.calls.size(); ++call) {
      const std::string& made = fake.calls[call];
      EXPECT_TRUE(made == "PPRELEASE" || made == "close") << c.message << ": " << made;
    }
    // A device that was opened is closed again, and one claimed is released.
    EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), "close"), c.call > 0 ? 1 : 0);
    EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), "PPRELEASE"), c.call >= 2 ? 1 : 0);
  }
}

TEST_F(PpdevPortTest, TheDeviceIsChosenByVariableThenByBaseAddressWhicheverRegisterComesFirst) {
  ListPort("parport0", "888\t1912\n");
  ListPort("parport1", "53264\n");  // a PCIe card at 0xD010
  ListPort("parport2", "632\n");
  EXPECT_EQ(PpdevDeviceFor(0x278, proc_), "/dev/parport3");
  setenv("HD_PARPORT", "", 1);  // set but empty: as if not set
  EXPECT_EQ(PpdevDeviceFor(0x278, proc_), "/dev/parport2");
  unsetenv("HD_PARPORT");
  EXPECT_EQ(PpdevDeviceFor(0x378, proc_), "/dev/parport0");
  EXPECT_EQ(PpdevDeviceFor(0x3BC, proc_), "");  // the system has no port there
  EXPECT_EQ(PpdevDeviceFor(0x278, (scratch_.path() / "none").string()), "/dev/parport0");
  // The driver's first access is to the control register, two above the base.
  const struct {
    uint16_t first_access;
    const char* opened;
  } accesses[] = {{0xD012, "open /dev/parport1"},
                  {0xD010, "open /dev/parport1"},
                  {0x37A, "open /dev/parport0"},
                  {0x378, "open /dev/parport0"}};
  for (const auto& access : accesses) {
    PpdevRelease();
    fake = FakeDevice{};
    PpdevRead(access.first_access);
    ASSERT_FALSE(fake.calls.empty());
    EXPECT_EQ(fake.calls[0], access.opened) << std::hex << access.first_access;
  }
}

// Where the system lists ports but none at the address, or HD_PARPORT is
// no path, the message says what to give instead; a host that asks for
// the problem shows it itself, so the library does not print it too.
TEST_F(PpdevPortTest, NoDeviceForTheAddressIsNamedAndAHostThatAsksSaysItAlone) {
  ListPort("parport0", "888\n");
  ListPort("parport1", "53264\n");
  const struct {
    const char* variable;
    uint16_t base;
    bool asked;
    const char* message;
  } cases[] = {
      {"", 0xD010, false, nullptr},
      {"", 0x3BC, false,
       "no parallel port at 0x3BC: the system lists /dev/parport0 at 0x378, /dev/parport1 at "
       "0xD010. Write to one of those addresses (lcd_host's --port, or the driver's "
       "parameters), or name the device with HD_PARPORT. Nothing is written to the port."},
      {"parport0", 0x378, true,
       "HD_PARPORT=parport0 is not a device's path: give one such as /dev/parport0 (the system "
       "lists its ports in /proc/sys/dev/parport/). Nothing is written to the port."},
  };
  for (const auto& c : cases) {
    PpdevRelease();
    fake = FakeDevice{};
    setenv("HD_PARPORT", c.variable, 1);
    if (c.asked) {
      EXPECT_EQ(PpdevProblem(), nullptr);
    }
    ::testing::internal::CaptureStderr();
    PpdevWrite(static_cast<uint16_t>(c.base + 2), 0x0B);
    const std::string said = ::testing::internal::GetCapturedStderr();
    if (c.message == nullptr) {
      EXPECT_EQ(PpdevProblem(), nullptr);
      continue;
    }
    ASSERT_NE(PpdevProblem(), nullptr) << c.message;
    EXPECT_EQ(std::string(PpdevProblem()), c.message);
    EXPECT_EQ(said, c.asked
                        ? ""
                        : "inpout32.dll (Linux parallel port): " + std::string(c.message) + "\n");
    EXPECT_TRUE(fake.calls.empty()) << fake.calls[0];
  }
}

// Another program holds the port claimed: the kernel's claim would wait as
// long as it does. The library's gives up after its bound with that
// program's name, and leaves the signal it used as it found it.
TEST_F(PpdevPortTest, AClaimThatAnotherProgramHoldsUpEndsInBoundedTime) {
  fs::create_directories(fs::path(proc_) / "4242/fd");
  std::ofstream(fs::path(proc_) / "4242/comm") << "lcd4linux\n";
  fs::create_symlink("/dev/parport3", fs::path(proc_) / "4242/fd/5");
  fake.claim_waits = true;
  ::testing::internal::CaptureStderr();
  const auto started = std::chrono::steady_clock::now();
  PpdevWrite(0x37A, 0x0B);
  const auto waited = std::chrono::steady_clock::now() - started;
  ::testing::internal::GetCapturedStderr();
  // The bound set, 100 ms: cut short neither before it nor long after.
  EXPECT_GE(waited, std::chrono::milliseconds(100));
  EXPECT_LT(waited, std::chrono::milliseconds(500)) << "the claim was not cut short at its bound";
  ASSERT_NE(PpdevProblem(), nullptr);
  EXPECT_EQ(std::string(PpdevProblem()),
            "/dev/parport3 (named by HD_PARPORT): the port is busy, held by process 4242 "
            "(lcd4linux) (waited 0.1 s for it to let go). Close it, or stop it, and try again. "
            "Nothing is written to the port.");
  EXPECT_EQ(fake.calls, (Calls{"open /dev/parport3", "PPCLAIM", "close"}));
  struct sigaction now {};
  ASSERT_EQ(sigaction(SIGRTMAX - 3, nullptr, &now), 0);
  EXPECT_EQ(now.sa_handler, SIG_DFL);
}

}  // namespace
