#include "port_access.h"

#include "virtual_lcd.h"
#include "virtual_lcd_port.h"

namespace {

// The entries of each family of port libraries.
struct Family {
  const char* read_entry;
  const char* write_entry;
};
constexpr Family kFamilies[] = {{"Inp32", "Out32"},
                                {"DlPortReadPortUchar", "DlPortWritePortUchar"}};

template <typename Entry>
Entry Find(loader::ModuleHandle module, const char* name) {
  return reinterpret_cast<Entry>(loader::FindEntry(module, name));
}

// Either family's entries, whatever the file is called.
bool FindEntries(PortLibrary* library) {
  for (const Family& family : kFamilies) {
    library->read = Find<decltype(library->read)>(library->handle, family.read_entry);
    library->write = Find<decltype(library->write)>(library->handle, family.write_entry);
    if (library->read != nullptr && library->write != nullptr) {
      library->entries = std::string(family.read_entry) + " and " + family.write_entry;
      return true;
    }
  }
  return false;
}

}  // namespace

Problem OpenPortLibrary(const std::string& path, PortLibrary* library) {
  *library = PortLibrary{};
  std::string reason;
  if (!path.empty()) {
    library->handle = loader::LoadModule(path, &reason);
    if (library->handle == nullptr) return "cannot load the port library " + path + ": " + reason;
  } else {
    // As the driver searches without logging: the debug library is left out.
    for (const char* file : kPortLibraryFiles) {
      if (file == kPortLibraryFiles[0]) continue;
      library->handle = loader::LoadModule(file);
      if (library->handle != nullptr) break;
    }
    if (library->handle == nullptr) {
      return "no port library found: neither inpout32.dll nor dlportio.dll is where the system "
             "looks (the program's folder or the system folder on Windows, LD_LIBRARY_PATH on "
             "Linux); install one, or name it with --port-library";
    }
  }
  library->file = loader::ModuleFile(library->handle);
  if (library->file.empty()) library->file = path;
  library->virtual_pins = Find<VirtualLcdPinsFn>(library->handle, kVirtualLcdPins);
  library->driver_open =
      Find<decltype(library->driver_open)>(library->handle, "IsInpOutDriverOpen");
  if (!FindEntries(library)) {
    const std::string file = library->file;
    ClosePortLibrary(library);
    return file +
           " is not a port library: it has neither Inp32 and Out32 nor "
           "DlPortReadPortUchar and DlPortWritePortUchar";
  }
  return std::nullopt;
}

void ClosePortLibrary(PortLibrary* library) {
  if (library->handle != nullptr) loader::UnloadModule(library->handle);
  *library = PortLibrary{};
}

void LeavePortIdle(const PortLibrary& library, uint16_t data_register) {
  library.Write(data_register, 0);
  library.Write(static_cast<uint16_t>(data_register + vlcd::kControlOffset), vlcd::kControlPinsLow);
}
