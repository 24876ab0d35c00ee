// The main of the tests that load the module as a host does. The driver
// finds port libraries by name through the system's loader, which on POSIX
// searches LD_LIBRARY_PATH as it stood when the program started; the tests
// install stand-ins in the current folder, so the program starts itself
// again with "." on that path when it is not there yet. On Windows the
// loader searches the current folder anyway.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#if !defined(_WIN32)
#include <unistd.h>
#endif

int main(int argc, char** argv) {
#if !defined(_WIN32)
  // Tools such as valgrind add folders of their own to the path.
  const char* set = std::getenv("LD_LIBRARY_PATH");
  const std::string path = ":" + std::string(set != nullptr ? set : "") + ":";
  if (path.find(":.:") == std::string::npos) {
    setenv("LD_LIBRARY_PATH", ".", 1);
    execv("/proc/self/exe", argv);
  }
#endif
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
