// Loading a dynamic library by file name and finding its entries by name.
// The file name goes to the platform loader unchanged, so its own search
// order applies (LoadLibraryA's on Windows, dlopen's on POSIX). The unit
// tests link in-process port libraries in its place
// (tests/support/fake_port_libraries.cpp), which record every write and can
// lack any entry.
#ifndef PLATFORM_LIBRARY_H
#define PLATFORM_LIBRARY_H

namespace platform {

using LibraryHandle = void*;
using LibraryEntry = void (*)();

// Returns nullptr when the library cannot be loaded; then `wrong_kind`, when
// given, says whether a file was found that this process cannot load as a
// library (another machine type, or no library at all).
LibraryHandle LibraryOpen(const char* file_name, bool* wrong_kind = nullptr);
// Returns nullptr when the entry is missing.
LibraryEntry LibraryFind(LibraryHandle library, const char* entry_name);
void LibraryClose(LibraryHandle library);

// Whether a file `file_name` sits in the folder of the module this code is
// in (the driver's own), writing that folder to `folder`. Only explains a
// failed load: a host keeps plug-ins in a folder of their own, and the
// system's search does not look there.
bool LibraryBesideThisModule(const char* file_name, char* folder, unsigned size);

}  // namespace platform

#endif  // PLATFORM_LIBRARY_H
