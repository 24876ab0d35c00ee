#include "port_access.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "own_files.h"
#include "port_registers.h"
#include "port_verdicts.h"
#include "virtual_lcd_port.h"

namespace fs = std::filesystem;

namespace {

constexpr uint8_t kDataPatterns[] = {0x00, 0x55, 0xAA, 0xFF};
// The control register's four output bits; a port reads the others as it
// likes, most as 1.
constexpr uint8_t kControlOutputs =
    lpt::kStrobeBit | lpt::kAutoFeedBit | lpt::kInitializeBit | lpt::kSelectInBit;
// Only RS (Initialize) and the unwired Select-in change: E (Strobe) and R/W
// (Auto-feed) stay low throughout, so the module latches nothing and never
// drives the data lines against the port. E and R/W are the wiring walk's.
constexpr uint8_t kControlPatterns[] = {
    lpt::kEnableBit | lpt::kReadWriteBit,
    lpt::kEnableBit | lpt::kReadWriteBit | lpt::kRegisterSelectBit,
    lpt::kEnableBit | lpt::kReadWriteBit | lpt::kUnwiredBit,
    lpt::kEnableBit | lpt::kReadWriteBit | lpt::kRegisterSelectBit | lpt::kUnwiredBit,
};
constexpr unsigned kLowestPortAddress = 0x100;

// Any known library's entries, whatever the file is called.
bool FindEntries(PortLibrary* library) {
  for (const PortLibraryFile& known : kPortLibraryFiles) {
    library->read = loader::FindEntryAs<PortReadFn>(library->handle, known.read_entry);
    library->write = loader::FindEntryAs<PortWriteFn>(library->handle, known.write_entry);
    if (library->read != nullptr && library->write != nullptr) {
      library->entries = std::string(known.read_entry) + " and " + known.write_entry;
      return true;
    }
  }
  return false;
}

// A file the loader found but this program cannot load: most often a port
// library of the other bitness, the mistake a 64-bit host's user makes.
std::string WrongKind(const std::string& shown, const std::string& file) {
  const int bits = loader::WindowsModuleBits(file);
  if (bits == 32 && loader::kOwnBits == 64) {
    // Renamed to the name a 64-bit driver looks for, it still is not one.
    std::string name = fs::path(shown).filename().string();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const bool renamed = name == "inpoutx64.dll";
    return shown + " " + (renamed ? kRenamedThirtyTwoBitLibrary : kThirtyTwoBitLibrary);
  }
  if (bits == 64 && loader::kOwnBits == 32) {
    return shown + " " + kSixtyFourBitLibrary + " or dlportio.dll";
  }
  if (!file.empty() && !loader::IsModuleFile(file)) {
    return shown + " " + kNotAPortLibrary +
           ": it is no library at all. Name the port library's own file (inpout32.dll or "
           "dlportio.dll, or the Linux ppdev library)";
  }
  return shown + " cannot be loaded by this " + std::to_string(loader::kOwnBits) +
         "-bit program: it is not a " + std::to_string(loader::kOwnBits) + "-bit library";
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

Problem ConfigureVirtualLcd(loader::ModuleHandle library, const std::string& settings,
                            uint16_t port, int flags) {
  const auto configure = loader::FindEntryAs<VirtualLcdConfigureFn>(library, kVirtualLcdConfigure);
  if (configure == nullptr) return std::string("the library is not the virtual LCD");
  if (configure(settings.c_str(), port, flags) == 1) return std::nullopt;
  const auto refusal = loader::FindEntryAs<VirtualLcdRefusalFn>(library, kVirtualLcdRefusal);
  const char* why = refusal != nullptr ? refusal() : nullptr;
  return std::string("the virtual LCD refused the module's settings \"") + settings + "\"" +
         (why != nullptr ? std::string(": ") + why : "");
}

Problem NoParallelPortAt(unsigned port) {
  if (port >= kLowestPortAddress) return std::nullopt;
  return "no parallel port sits at " + HexAddress(port) +
         ": addresses below 0x100 belong to the PC's own chips (DMA and interrupt controllers, "
         "timer, keyboard), so nothing was written. A port sits at 0x378, 0x278 or 0x3BC, or on "
         "a PCI card at an address such as 0xD010 (Device Manager, the port's Resources, on "
         "Windows; /proc/sys/dev/parport/*/base-addr on Linux)";
}

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

namespace {

// The kinds of folder the loader searches for this program, once each.
std::string SearchedPlaces() {
  const std::string program = fs::path(loader::ExecutableFile()).parent_path().string();
  std::string places;
  for (const loader::SearchFolder& folder : loader::SearchFolders(program)) {
    if (places.find(folder.what) == std::string::npos) {
      places += (places.empty() ? "" : ", ") + folder.what;
    }
  }
  return places;
}

// This build's own port library (Linux's, for ppdev) in its folder among
// the program's own files; empty where there is none.
fs::path OwnPortLibrary(const OwnFiles& own) {
  std::error_code unknown;
  for (const PortLibraryFile& candidate : kPortLibraryFiles) {
    const fs::path file = own.folder / BUILT_PORT_LIBRARY_FOLDER / candidate.file_name;
    if (fs::is_regular_file(file, unknown)) return file;
  }
  return {};
}

// Where this build's own port library is, when there is one, and how to
// have it found.
std::string BuiltPortLibrary(const fs::path& file) {
  if (file.empty()) return "";
  const fs::path program = fs::path(loader::ExecutableFile()).parent_path();
  return ". This build's port library, which drives /dev/parportN through ppdev, is " +
         file.string() + ": " + loader::HowToReach(file.parent_path().string(), program.string());
}

}  // namespace

Problem OpenPortLibrary(const std::string& path, bool logging, PortLibrary* library,
                        const std::string& other_ways) {
  *library = PortLibrary{};
  std::string reason;
  if (!path.empty()) {
    bool wrong_kind = false;
    library->handle = loader::LoadModule(path, &reason, &wrong_kind);
    if (library->handle == nullptr) {
      std::error_code unknown;
      if (wrong_kind || (fs::is_regular_file(path, unknown) && !loader::IsModuleFile(path))) {
        return WrongKind(path, path);
      }
      return std::string(kCannotLoadPortLibrary) + " " + path + ": " + reason;
    }
  } else {
    std::string wrong_kind_file;  // the first the loader found but could not load
    for (const PortLibraryFile& candidate : kPortLibraryFiles) {
      if (candidate.only_when_logging && !logging) continue;
      bool wrong_kind = false;
      library->handle = loader::LoadModule(candidate.file_name, nullptr, &wrong_kind);
      if (library->handle != nullptr) break;
      if (wrong_kind && wrong_kind_file.empty()) wrong_kind_file = candidate.file_name;
    }
    // Installed by the package, the ppdev library is this system's port
    // library: the driver, loaded later, finds it by name as already loaded.
    const OwnFiles own = LocateOwnFiles();
    const fs::path own_library = OwnPortLibrary(own);
    if (library->handle == nullptr && own.installed && !own_library.empty()) {
      library->handle = loader::LoadModule(own_library.string());
    }
    if (library->handle == nullptr && !wrong_kind_file.empty()) {
      const std::string located = loader::LocateModule(wrong_kind_file);
      return WrongKind(located.empty() ? wrong_kind_file : located, located);
    }
    if (library->handle == nullptr) {
      std::string tried;
      for (const PortLibraryFile& candidate : kPortLibraryFiles) {
        if (!candidate.only_when_logging) tried += std::string(", ") + candidate.file_name;
      }
      return std::string(kNoPortLibraryFound) + ": none of " + tried.substr(2) +
             " is where the system looks (" + SearchedPlaces() + "); install one" + other_ways +
             BuiltPortLibrary(own_library);
    }
  }
  library->file = loader::ModuleFile(library->handle);
  if (library->file.empty()) library->file = path;
  library->virtual_pins = loader::FindEntryAs<VirtualLcdPinsFn>(library->handle, kVirtualLcdPins);
  library->driver_open =
      loader::FindEntryAs<InpOutDriverOpenFn>(library->handle, kInpOutDriverOpen);
  library->problem =
      loader::FindEntryAs<PortLibraryProblemFn>(library->handle, kPortLibraryProblem);
  // Asked once, a library that reports its own problems leaves saying them
  // to this program.
  if (library->problem != nullptr) library->problem();
  if (!FindEntries(library)) {
    const std::string file = library->file;
    ClosePortLibrary(library);
    return file + " " + kNotAPortLibrary +
           ": it has neither Inp32 and Out32 nor DlPortReadPortUchar and DlPortWritePortUchar";
  }
  return std::nullopt;
}

Problem FindAsAHostWould(const std::string& host_folder, std::string* path) {
  std::error_code unknown;
  const std::vector<loader::SearchFolder> folders = loader::SearchFolders(host_folder);
  std::string names;
  for (const PortLibraryFile& candidate : kPortLibraryFiles) {
    if (candidate.only_when_logging) continue;
    names += (names.empty() ? "" : ", ") + std::string(candidate.file_name);
    for (const loader::SearchFolder& folder : folders) {
      const fs::path file = fs::path(folder.path) / candidate.file_name;
      if (!fs::is_regular_file(file, unknown)) continue;
      *path = file.string();
      std::printf("A driver in a host at %s loads %s, found in %s.\n", host_folder.c_str(),
                  path->c_str(), folder.what.c_str());
      return std::nullopt;
    }
  }
  std::string aside;
  for (const fs::directory_entry& entry : fs::directory_iterator(host_folder, unknown)) {
    for (const PortLibraryFile& candidate : kPortLibraryFiles) {
      const fs::path file = entry.path() / candidate.file_name;
      if (aside.empty() && entry.is_directory(unknown) && fs::is_regular_file(file, unknown)) {
        aside = ". " + file.string() +
                " is in a subfolder (beside a plug-in?), where the system does not look: " +
                loader::HowToReach(entry.path().string(), host_folder);
      }
    }
  }
  std::string where;
  for (const loader::SearchFolder& folder : folders) {
    if (where.find(folder.what) == std::string::npos) {
      where += (where.empty() ? "" : ", ") + folder.what;
    }
  }
  return std::string(kNoPortLibraryFound) + ": a driver in a host at " + host_folder +
         " finds none of " + names + " where the system looks (" + where + ")" + aside;
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
  const auto control = static_cast<uint16_t>(data_register + lpt::kControlOffset);
  // The first access opens a device-backed port; whether that worked is
  // known before any pattern is claimed as written.
  library.Write(control, lpt::kControlPinsLow);
  if (const Problem failed = CheckPortStillReached(library)) return failed;
  bool follows = ReadsFollowWrites(library, data_register, kDataPatterns, 0xFF, "Data register");
  if (probe == PortProbe::BothRegisters) {
    const bool control_follows =
        ReadsFollowWrites(library, control, kControlPatterns, kControlOutputs,
                          "Control register (bits 2-3; E and R/W held low)");
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
  library.Write(static_cast<uint16_t>(data_register + lpt::kControlOffset), lpt::kControlPinsLow);
}
