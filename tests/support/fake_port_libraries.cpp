#include "fake_port_libraries.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "displaydll.h"
#include "platform/library.h"
#include "port/port_backend.h"
#include "sim_clock.h"

namespace fake_ports {

State state;

void InstallAll() {
  for (const PortLibraryFile& file : kPortLibraryFiles) {
    state.present[file.file_name] = Library{};
  }
}

namespace {

int32_t DISPLAYDLL_CALL Read(int32_t) { return 0; }

void DISPLAYDLL_CALL Write(int32_t port, int32_t value) {
  if (state.open_libraries == 0) ++state.writes_without_library;
  state.writes.push_back(PortWriteRecord{port, value, sim_clock::NowNs()});
}

bool IsReadEntry(const char* name) {
  return std::strcmp(name, "Inp32") == 0 || std::strcmp(name, "DlPortReadPortUchar") == 0;
}

bool IsWriteEntry(const char* name) {
  return std::strcmp(name, "Out32") == 0 || std::strcmp(name, "DlPortWritePortUchar") == 0;
}

}  // namespace

}  // namespace fake_ports

namespace platform {

LibraryHandle LibraryOpen(const char* file_name, bool* wrong_kind) {
  fake_ports::state.open_attempts.push_back(file_name);
  const bool unloadable = fake_ports::state.wrong_kind.count(file_name) > 0;
  if (wrong_kind != nullptr) *wrong_kind = unloadable;
  auto found = fake_ports::state.present.find(file_name);
  if (unloadable || found == fake_ports::state.present.end()) return nullptr;
  fake_ports::state.loaded.push_back(file_name);
  ++fake_ports::state.open_libraries;
  fake_ports::state.handles.push_back(fake_ports::LoadedLibrary{file_name, found->second});
  return &fake_ports::state.handles.back();
}

LibraryEntry LibraryFind(LibraryHandle library, const char* entry_name) {
  const fake_ports::Library& offered = static_cast<fake_ports::LoadedLibrary*>(library)->entries;
  if (offered.has_read && fake_ports::IsReadEntry(entry_name)) {
    return reinterpret_cast<LibraryEntry>(&fake_ports::Read);
  }
  if (offered.has_write && fake_ports::IsWriteEntry(entry_name)) {
    return reinterpret_cast<LibraryEntry>(&fake_ports::Write);
  }
  return nullptr;
}

void LibraryClose(LibraryHandle library) {
  --fake_ports::state.open_libraries;
  fake_ports::state.released.push_back(static_cast<fake_ports::LoadedLibrary*>(library)->name);
}

bool LibraryBesideThisModule(const char* file_name, char* folder, unsigned size) {
  if (fake_ports::state.beside_driver.count(file_name) == 0) return false;
  std::snprintf(folder, size, "%s", "C:\\host\\displays");
  return true;
}

}  // namespace platform
