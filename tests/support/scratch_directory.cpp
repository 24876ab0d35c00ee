#include "scratch_directory.h"

#include <gtest/gtest.h>

#include "module_loader.h"

namespace fs = std::filesystem;

namespace {

// The test program's own folder, where the build puts the module and the
// stand-ins, whichever folder the program was started from.
fs::path StartFolder() {
  static const fs::path start = [] {
    const std::string program = loader::ExecutableFile();
    return program.empty() ? fs::current_path() : fs::path(program).parent_path();
  }();
  return start;
}

}  // namespace

ScratchDirectory::ScratchDirectory() : home_(StartFolder()) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "." + test->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  path_ = home_ / "scratch" / name;
  fs::remove_all(path_);
  fs::create_directories(path_);
  fs::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() { fs::current_path(home_); }
