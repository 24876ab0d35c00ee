#include "own_files.h"

#include "module_loader.h"

namespace fs = std::filesystem;

OwnFiles LocateOwnFiles() {
  const fs::path program = fs::path(loader::ExecutableFile()).parent_path();
  std::error_code missing;
  const fs::path installed = program / INSTALLED_FILES_FOLDER;
  // Only a program installed in bin/ has a lib/ beside bin/ of its own; a
  // build tree never has the driver there.
  if (!fs::exists(program / fs::path(HD66712_MODULE_FILE).filename(), missing) &&
      !fs::exists(program / HD66712_MODULE_FILE, missing) &&
      fs::exists(installed / fs::path(HD66712_MODULE_FILE).filename(), missing)) {
    return {fs::weakly_canonical(installed, missing), true};
  }
  return {program, false};
}
