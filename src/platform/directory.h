// Creating the folder the log lives in, and how paths are joined. The unit
// tests link this real implementation and work in scratch folders.
#ifndef PLATFORM_DIRECTORY_H
#define PLATFORM_DIRECTORY_H

namespace platform {

extern const char kPathSeparator;

// An existing directory is not an error; callers ignore failures, which show
// up when the file inside cannot be opened.
void DirectoryCreate(const char* path);

}  // namespace platform

#endif  // PLATFORM_DIRECTORY_H
