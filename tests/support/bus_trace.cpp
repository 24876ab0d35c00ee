#include "bus_trace.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int32_t kInstructionIdle = 0x0B;
constexpr int32_t kInstructionStrobe = 0x02;
constexpr int32_t kDataIdle = 0x0F;
constexpr int32_t kDataStrobe = 0x06;

std::string Describe(size_t index, const std::string& what) {
  return "write " + std::to_string(index) + ": " + what;
}

}  // namespace

std::vector<DecodedCycle> DecodeBusCycles(const std::vector<PortWriteRecord>& writes, int32_t base,
                                          std::string* error) {
  std::vector<DecodedCycle> cycles;
  error->clear();
  if (writes.size() % 4 != 0) *error = "trace ends inside a cycle";
  // The library receives addresses widened with their sign; compare 16 bits.
  const auto address = [&](size_t i) { return writes[i].port & 0xFFFF; };
  const int32_t data_register = base & 0xFFFF;
  const int32_t control = (base + 2) & 0xFFFF;
  for (size_t i = 0; i + 4 <= writes.size(); i += 4) {
    const int32_t idle = writes[i].value & 0xFF;
    const bool data = idle == kDataIdle;
    if (!data && idle != kInstructionIdle) {
      *error = Describe(i, "cycle does not start with an idle control value");
      break;
    }
    const int32_t strobe = data ? kDataStrobe : kInstructionStrobe;
    if (address(i) != control || address(i + 1) != data_register || address(i + 2) != control ||
        address(i + 3) != control) {
      *error = Describe(i, "cycle writes the wrong registers");
      break;
    }
    if ((writes[i + 2].value & 0xFF) != strobe || (writes[i + 3].value & 0xFF) != idle) {
      *error = Describe(i, "cycle has the wrong strobe or closing control value");
      break;
    }
    cycles.push_back(DecodedCycle{data, static_cast<uint8_t>(writes[i + 1].value & 0xFF),
                                  writes[i].ns, writes[i + 3].ns});
  }
  return cycles;
}

int64_t ShortestGapNs(const std::vector<PortWriteRecord>& writes) {
  int64_t shortest = std::numeric_limits<int64_t>::max();
  for (size_t i = 1; i < writes.size(); ++i) {
    shortest = std::min(shortest, writes[i].ns - writes[i - 1].ns);
  }
  return shortest;
}

std::vector<uint8_t> InstructionBytes(const std::vector<DecodedCycle>& cycles) {
  std::vector<uint8_t> bytes;
  for (const DecodedCycle& cycle : cycles) {
    if (!cycle.data) bytes.push_back(cycle.byte);
  }
  return bytes;
}

std::vector<uint8_t> DataBytes(const std::vector<DecodedCycle>& cycles) {
  std::vector<uint8_t> bytes;
  for (const DecodedCycle& cycle : cycles) {
    if (cycle.data) bytes.push_back(cycle.byte);
  }
  return bytes;
}
