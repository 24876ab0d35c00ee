#include "port_access.h"

#include <cstdio>

#include "port_verdicts.h"
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

constexpr uint8_t kDataPatterns[] = {0x00, 0x55, 0xAA, 0xFF};
// The control register's four output bits; a port reads the others as it
// likes, most as 1.
constexpr uint8_t kControlOutputs = 0x0F;
constexpr uint8_t kControlPatterns[] = {0x00, 0x05, 0x0A, 0x0F};

// Either family's entries, whatever the file is called.
bool FindEntries(PortLibrary* library) {
  for (const Family& family : kFamilies) {
    library->read = loader::FindEntryAs<PortReadFn>(library->handle, family.read_entry);
    library->write = loader::FindEntryAs<PortWriteFn>(library->handle, family.write_entry);
    if (library->read != nullptr && library->write != nullptr) {
      library->entries = std::string(family.read_entry) + " and " + family.write_entry;
      return true;
    }
  }
  return false;
}

// Writes each pattern and reads it back; true when every read matched.
bool ReadsFollowWrites(const PortLibrary& library, uint16_t port, const uint8_t (&patterns)[4],
                       uint8_t mask, const char* what) {
  std::string wrote;
  std::string read;
  bool follows = true;
  for (uint8_t pattern : patterns) {
    library.Write(port, pattern);
    const uint8_t back = library.Read(port) & mask;
    follows = follows && back == pattern;
    wrote += " " + HexByte(pattern);
    read += " " + HexByte(back);
  }
  std::printf("%s at %s: wrote%s, read%s\n", what, HexAddress(port).c_str(), wrote.c_str(),
              read.c_str());
  return follows;
}

std::string NoPortAnswers(uint16_t data_register) {
  return std::string(kNoPortAnswers) + " " + HexAddress(data_register) +
         ". Find your port's address: on Windows in Device Manager, the port's Resources, "
         "\"I/O Range\" (PCI and PCIe cards sit at addresses such as 0xD010 or 0xE000); on "
         "Linux in /proc/sys/dev/parport/*/base-addr or lspci -v. Then give it with --port. A "
         "USB-to-parallel adapter cannot drive an LCD: it emulates a printer, and no program "
         "can set its pins.";
}

}  // namespace

std::string HexByte(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value & 0xFFu);
  return text;
}

std::string HexAddress(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%03X", value & 0xFFFFu);
  return text;
}

Problem OpenPortLibrary(const std::string& path, bool logging, PortLibrary* library) {
  *library = PortLibrary{};
  std::string reason;
  if (!path.empty()) {
    library->handle = loader::LoadModule(path, &reason);
    if (library->handle == nullptr) {
      return std::string(kCannotLoadPortLibrary) + " " + path + ": " + reason;
    }
  } else {
    for (const char* file : kPortLibraryFiles) {
      if (file == kPortLibraryFiles[0] && !logging) continue;
      library->handle = loader::LoadModule(file);
      if (library->handle != nullptr) break;
    }
    if (library->handle == nullptr) {
      return std::string(kNoPortLibraryFound) +
             ": neither inpout32.dll nor dlportio.dll is where the system looks (the "
             "program's folder or the system folder on Windows, LD_LIBRARY_PATH on Linux); "
             "install one, or name it with --port-library";
    }
  }
  library->file = loader::ModuleFile(library->handle);
  if (library->file.empty()) library->file = path;
  library->virtual_pins = loader::FindEntryAs<VirtualLcdPinsFn>(library->handle, kVirtualLcdPins);
  library->driver_open =
      loader::FindEntryAs<InpOutDriverOpenFn>(library->handle, kInpOutDriverOpen);
  library->problem =
      loader::FindEntryAs<PortLibraryProblemFn>(library->handle, kPortLibraryProblem);
  if (!FindEntries(library)) {
    const std::string file = library->file;
    ClosePortLibrary(library);
    return file + " " + kNotAPortLibrary +
           ": it has neither Inp32 and Out32 nor DlPortReadPortUchar and DlPortWritePortUchar";
  }
  return std::nullopt;
}

void ClosePortLibrary(PortLibrary* library) {
  if (library->handle != nullptr) loader::UnloadModule(library->handle);
  *library = PortLibrary{};
}

Problem CheckPortStillReached(const PortLibrary& library) {
  if (library.driver_open != nullptr && library.driver_open() == 0) {
    return std::string(kDriverNotOpen) +
           ": it is not installed, or Windows refused it. Run the port library's installer "
           "once as administrator. On 64-bit Windows, Memory integrity (Core isolation) and "
           "the vulnerable-driver blocklist can refuse such a driver; see README.txt, \"The "
           "port library\". Until it is open every write is lost, so nothing was driven.";
  }
  if (library.problem != nullptr) {
    if (const char* problem = library.problem()) {
      return std::string(kNothingReachesThePort) + ": " + problem;
    }
  }
  return std::nullopt;
}

Problem CheckPortReached(const PortLibrary& library, uint16_t data_register, PortProbe probe) {
  // An inpout32 without its driver would take every write; ask first.
  if (library.driver_open != nullptr) {
    if (const Problem closed = CheckPortStillReached(library)) return closed;
    std::printf("The port library's driver is open.\n");
  }
  const auto control = static_cast<uint16_t>(data_register + vlcd::kControlOffset);
  if (probe == PortProbe::DataRegister) library.Write(control, vlcd::kControlPinsLow);
  bool follows = ReadsFollowWrites(library, data_register, kDataPatterns, 0xFF, "Data register");
  if (probe == PortProbe::BothRegisters) {
    const bool control_follows = ReadsFollowWrites(library, control, kControlPatterns,
                                                   kControlOutputs, "Control register (bits 0-3)");
    follows = follows && control_follows;
  }
  LeavePortIdle(library, data_register);
  // The library may know the cause better than the reads can show it.
  if (const Problem gone = CheckPortStillReached(library)) return gone;
  if (!follows) return NoPortAnswers(data_register);
  return std::nullopt;
}

void LeavePortIdle(const PortLibrary& library, uint16_t data_register) {
  library.Write(data_register, 0);
  library.Write(static_cast<uint16_t>(data_register + vlcd::kControlOffset), vlcd::kControlPinsLow);
}
