// Which machine a Windows module was built for, read from its headers, so
// a tool can tell a user with a port library of the wrong kind which one
// they have. Plain file reading: the same on every platform.
#include <cstdint>
#include <fstream>

#include "module_loader.h"

namespace loader {

namespace {

constexpr std::streamoff kPeOffsetAt = 0x3C;
constexpr uint16_t kMachineI386 = 0x014C;
constexpr uint16_t kMachineAmd64 = 0x8664;

// Little-endian, as every PE field is.
template <typename Value>
bool ReadAt(std::ifstream& file, std::streamoff at, Value* value) {
  unsigned char bytes[sizeof(Value)] = {};
  if (!file.seekg(at) || !file.read(reinterpret_cast<char*>(bytes), sizeof bytes)) return false;
  Value result = 0;
  for (size_t i = sizeof bytes; i-- > 0;) result = static_cast<Value>((result << 8) | bytes[i]);
  *value = result;
  return true;
}

}  // namespace

int WindowsModuleBits(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  uint16_t mz = 0;
  uint32_t pe_at = 0;
  uint32_t signature = 0;
  uint16_t machine = 0;
  if (!ReadAt(file, 0, &mz) || mz != 0x5A4D || !ReadAt(file, kPeOffsetAt, &pe_at) ||
      !ReadAt(file, pe_at, &signature) || signature != 0x00004550 ||
      !ReadAt(file, pe_at + 4, &machine)) {
    return 0;
  }
  return machine == kMachineI386 ? 32 : machine == kMachineAmd64 ? 64 : 0;
}

bool IsModuleFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  char start[4] = {};
  if (!file.read(start, sizeof start)) return false;
  return (start[0] == 'M' && start[1] == 'Z') ||
         (start[0] == 0x7F && start[1] == 'E' && start[2] == 'L' && start[3] == 'F');
}

}  // namespace loader
