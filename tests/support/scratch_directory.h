// Gives each test an empty current folder of its own, so the port libraries
// it installs, the trace and the log it reads belong to it alone.
#ifndef TESTS_SUPPORT_SCRATCH_DIRECTORY_H
#define TESTS_SUPPORT_SCRATCH_DIRECTORY_H

#include <filesystem>

class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  // The folder the test program started in, where the built files are.
  const std::filesystem::path& home() const { return home_; }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path home_;
  std::filesystem::path path_;
};

#endif  // TESTS_SUPPORT_SCRATCH_DIRECTORY_H
