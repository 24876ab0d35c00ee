// Where lcd_host's own files are: the driver it hosts, the virtual LCD's
// port library and, on Linux, the ppdev port library. They sit beside the
// program in the release zip and the build tree, and under
// lib/<triplet>/hd66712/ when the Linux package installs the program in bin/.
#ifndef HOST_OWN_FILES_H
#define HOST_OWN_FILES_H

#include <filesystem>

struct OwnFiles {
  std::filesystem::path folder;
  bool installed = false;  // found where the package puts them
};

OwnFiles LocateOwnFiles();

#endif  // HOST_OWN_FILES_H
