// The virtual parallel port preloaded into a program of our own, which
// behaves as the programs users run do: it forks, dups, passes bad pointers,
// opens the wrong port. Each case runs such a program as a child of this
// one (ctest preloads the port into this process and names the device in
// HD_VLCD_PARPORT), so this process itself never opens the device.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>
// After sys/ioctl.h, which defines the request macros it uses.
#include <linux/parport.h>
#include <linux/ppdev.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace {

std::string Device() { return std::getenv("HD_VLCD_PARPORT"); }

std::string Slurp(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

struct Ended {
  int status = 0;
  std::string stderr_text;
  std::string screen;  // the saved report, "" when none was saved
};

class PreloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/virtual_parport_test.XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    folder_ = folder;
  }
  void TearDown() override {
    const std::string remove = "rm -rf '" + folder_ + "'";
    EXPECT_EQ(std::system(remove.c_str()), 0);
  }

  // Runs `program` as a program of its own, on a 16x2 HD44780 whose screen
  // goes to the test's folder; its exit code is what `program` returns. A
  // claim that waits where it must be refused ends it after a bound of its
  // own, killed by SIGALRM, rather than hanging the test.
  Ended Run(const std::function<int()>& program) {
    const std::string errors = folder_ + "/stderr.txt";
    const std::string output = folder_ + "/screen";
    const pid_t child = fork();
    if (child == 0) {
      alarm(20);
      const int to = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(to, 2);
      ::close(to);
      setenv("HD_VLCD_OUTPUT", output.c_str(), 1);
      setenv("HD_VLCD_CHIP", "HD44780", 1);
      setenv("HD_VLCD_COLUMNS", "16", 1);
      setenv("HD_VLCD_ROWS", "2", 1);
      std::exit(program());
    }
    Ended ended;
    waitpid(child, &ended.status, 0);
    ended.stderr_text = Slurp(errors);
    ended.screen = Slurp(output + ".txt");
    return ended;
  }

  std::string folder_;
};

int OpenDevice() { return ::open(Device().c_str(), O_RDWR); }

int Control(int fd, uint8_t value) { return ioctl(fd, PPWCONTROL, &value); }

// One byte through the module's cable (E on Strobe, R/W on Auto-feed, RS on
// Initialize), with waits long enough for any instruction.
void SendByte(int fd, bool data, uint8_t byte) {
  const uint8_t idle = data ? 0x0F : 0x0B;
  Control(fd, idle);
  ioctl(fd, PPWDATA, &byte);
  Control(fd, static_cast<uint8_t>(idle & ~0x09));
  Control(fd, idle);
  usleep(2000);
}

void DrawHi(int fd) {
  for (const uint8_t instruction : {0x38, 0x0C, 0x06, 0x01}) SendByte(fd, false, instruction);
  SendByte(fd, true, 'H');
  SendByte(fd, true, 'i');
}

bool ExitedWith(const Ended& ended, int code) {
  return WIFEXITED(ended.status) && WEXITSTATUS(ended.status) == code;
}

TEST_F(PreloadTest, BadPointersFailWithEfaultAndNeverEndTheProgram) {
  const Ended ended = Run([] {
    void* unmapped = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    void* read_only = mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    const int fd = OpenDevice();
    if (fd < 0 || ioctl(fd, PPCLAIM) != 0) return 10;
    // Requests that take an argument, with a pointer the program cannot
    // use: the kernel's answer is EFAULT for each.
    const unsigned long takes[] = {PPWDATA,   PPWCONTROL, PPFCONTROL, PPDATADIR,  PPSETMODE,
                                   PPSETTIME, PPNEGOT,    PPSETFLAGS, PPWCTLONIRQ};
    const unsigned long gives[] = {PPRDATA,    PPRCONTROL, PPRSTATUS, PPGETMODE, PPGETTIME,
                                   PPGETMODES, PPGETFLAGS, PPCLRIRQ,  PPGETPHASE};
    int wrong = 0;
    for (void* bad : {reinterpret_cast<void*>(16), unmapped}) {
      for (const unsigned long request : takes) {
        wrong += !(ioctl(fd, request, bad) == -1 && errno == EFAULT);
      }
    }
    for (void* bad : {reinterpret_cast<void*>(16), unmapped, read_only}) {
      for (const unsigned long request : gives) {
        wrong += !(ioctl(fd, request, bad) == -1 && errno == EFAULT);
      }
    }
    wrong += !(write(fd, unmapped, 1) == -1 && errno == EFAULT);
    return wrong;
  });
  EXPECT_TRUE(ExitedWith(ended, 0)) << "status " << ended.status << "\n" << ended.stderr_text;
}

TEST_F(PreloadTest, AChildThatDrawsAfterForkIsTheScreenSaved) {
  const Ended ended = Run([] {
    const int fd = OpenDevice();
    if (fd < 0 || ioctl(fd, PPCLAIM) != 0) return 10;
    const pid_t child = fork();
    if (child == 0) {
      DrawHi(fd);
      std::exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return 0;  // the parent ends last, having drawn nothing itself
  });
  EXPECT_TRUE(ExitedWith(ended, 0)) << ended.stderr_text;
  EXPECT_NE(ended.screen.find("│Hi              │"), std::string::npos) << ended.screen;
}

TEST_F(PreloadTest, DuplicatedDescriptorsLeadToTheSameClient) {
  const Ended ended = Run([] {
    const int fd = OpenDevice();
    const int copy = dup(fd);
    if (fd < 0 || copy < 0 || ioctl(fd, PPEXCL) != 0 || ioctl(copy, PPCLAIM) != 0) return 10;
    // The claim is the open file's, whichever descriptor made it.
    if (!(ioctl(fd, PPCLAIM) == -1 && errno == EINVAL)) return 11;
    ::close(fd);
    const int high = fcntl(copy, F_DUPFD_CLOEXEC, 50);
    if (high < 50 || dup2(copy, 40) != 40) return 12;
    ::close(copy);
    ::close(high);
    DrawHi(40);
    // The last descriptor closed closes the client, which lets the port go:
    // the port is another client's to claim, exclusive as the first was.
    ::close(40);
    if (!(ioctl(40, PPCLAIM) == -1 && errno == EBADF)) return 13;
    const int again = OpenDevice();
    return again >= 0 && ioctl(again, PPCLAIM) == 0 ? 0 : 14;
  });
  EXPECT_TRUE(ExitedWith(ended, 0)) << "status " << ended.status << "\n" << ended.stderr_text;
  EXPECT_NE(ended.screen.find("│Hi              │"), std::string::npos) << ended.screen;
}

TEST_F(PreloadTest, ReadAndWriteAnswerAsPpdev) {
  const Ended ended = Run([] {
    const int fd = OpenDevice();
    char buffer[4] = {};
    if (fd < 0) return 10;
    // Without the claim: EINVAL. With it, the printer protocol: a read
    // negotiates a reverse mode no module answers, a write waits for a
    // ready printer, and the status lines say paper out at once.
    const bool unclaimed =
        read(fd, buffer, 4) == -1 && errno == EINVAL && write(fd, "ab", 2) == -1 && errno == EINVAL;
    if (ioctl(fd, PPCLAIM) != 0 || Control(fd, 0x0B) != 0) return 11;
    const bool claimed = read(fd, buffer, 4) == -1 && errno == EIO && read(fd, buffer, 0) == 0 &&
                         write(fd, "ab", 2) == 0;
    uint8_t control = 0;
    ioctl(fd, PPRCONTROL, &control);
    return unclaimed && claimed && control == 0x0C ? 0 : 12;
  });
  EXPECT_TRUE(ExitedWith(ended, 0)) << "status " << ended.status << "\n" << ended.stderr_text;
}

TEST_F(PreloadTest, ASecondProgramOnTheDeviceIsRefused) {
  int ready[2];
  int go[2];
  ASSERT_EQ(pipe(ready), 0);
  ASSERT_EQ(pipe(go), 0);
  const pid_t first = fork();
  if (first == 0) {
    const int fd = OpenDevice();
    char byte = fd >= 0 ? 'y' : 'n';
    (void)!write(ready[1], &byte, 1);
    (void)!read(go[0], &byte, 1);
    std::_Exit(0);
  }
  char opened = 0;
  ASSERT_EQ(read(ready[0], &opened, 1), 1);
  EXPECT_EQ(opened, 'y');
  const Ended second = Run([] {
    const int fd = OpenDevice();
    return fd == -1 && errno == EBUSY ? 0 : 10;
  });
  (void)!write(go[1], "g", 1);
  waitpid(first, nullptr, 0);
  for (const int end : {ready[0], ready[1], go[0], go[1]}) ::close(end);
  EXPECT_TRUE(ExitedWith(second, 0)) << second.stderr_text;
  EXPECT_NE(second.stderr_text.find("already the virtual LCD of another program (process " +
                                    std::to_string(first) + ")"),
            std::string::npos)
      << second.stderr_text;
  EXPECT_EQ(second.screen, "");  // nothing of the first program's is overwritten
}

TEST_F(PreloadTest, ABlankScreenIsExplained) {
  // The program never opens the device: the ports it did open are named.
  const Ended elsewhere = Run([] {
    ::open("/dev/parport0", O_RDWR);
    ::open("/dev/lp0", O_RDWR);
    return 0;
  });
  EXPECT_NE(elsewhere.stderr_text.find("The program never opened " + Device() +
                                       " (HD_VLCD_PARPORT), so the virtual LCD saw nothing of "
                                       "it. It opened /dev/parport0 and /dev/lp0, which are the "
                                       "system's, not the virtual LCD: set "
                                       "HD_VLCD_PARPORT=/dev/parport0, or set the program's port "
                                       "to " +
                                       Device() + "."),
            std::string::npos)
      << elsewhere.stderr_text;
  // The data lines move but E never does: another cable.
  const Ended other_cable = Run([] {
    const int fd = OpenDevice();
    if (fd < 0 || ioctl(fd, PPCLAIM) != 0) return 10;
    for (uint8_t byte : {0x38, 0x0C, 0x41}) ioctl(fd, PPWDATA, &byte);
    return 0;
  });
  EXPECT_NE(other_cable.stderr_text.find("the screen is blank: The port's lines changed 3 times, "
                                         "but E (Strobe, pin 1) never rose and fell"),
            std::string::npos)
      << other_cable.stderr_text;
}

// A program started afresh with the port preloaded and `variables` set:
// what it printed, both streams.
std::string Started(const std::string& variables, const std::string& command) {
  const std::string line = "env -u HD_VLCD_PARPORT_SAID -u HD_VLCD_PARPORT " + variables +
                           " sh -c '" + command + "' 2>&1";
  std::FILE* pipe = popen(line.c_str(), "r");
  std::string text;
  char buffer[512];
  while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) text += buffer;
  if (pipe != nullptr) pclose(pipe);
  return text;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST(PreloadStart, SettingsThatCannotWorkAreSaidOnceBeforeTheProgramRuns) {
  // Not set: once for the whole tree of processes, not once a child.
  const std::string unset = Started("", "/bin/true; /bin/true; echo ran");
  EXPECT_EQ(Count(unset, "HD_VLCD_PARPORT is not set"), 1u) << unset;
  // A file that is not a port is refused, and stays the program's own.
  const std::string null = Started("HD_VLCD_PARPORT=/dev/null", "echo hi >/dev/null && echo ran");
  EXPECT_EQ(Count(null, "HD_VLCD_PARPORT names /dev/null, which exists and is not a parallel port"),
            1u)
      << null;
  EXPECT_NE(null.find("ran"), std::string::npos) << null;
  // An output that cannot be written is said before the program's first word.
  const std::string output = Started(
      "HD_VLCD_PARPORT=/dev/parport9 HD_VLCD_OUTPUT=/nonexistent-folder/screen", "echo ran");
  const size_t said = output.find("HD_VLCD_OUTPUT: cannot write in /nonexistent-folder");
  EXPECT_NE(said, std::string::npos) << output;
  EXPECT_LT(said, output.find("ran")) << output;
}

}  // namespace
