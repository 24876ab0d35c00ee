#include <sys/stat.h>

#include "platform/directory.h"

namespace platform {

const char kPathSeparator = '/';

void DirectoryCreate(const char* path) { mkdir(path, 0777); }

}  // namespace platform
