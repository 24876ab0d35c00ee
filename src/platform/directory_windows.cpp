#include <windows.h>

#include "platform/directory.h"

namespace platform {

const char kPathSeparator = '\\';

void DirectoryCreate(const char* path) { CreateDirectoryA(path, nullptr); }

}  // namespace platform
