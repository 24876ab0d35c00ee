// What reached the parallel port, and the controller cycles it decodes into.
#ifndef TESTS_SUPPORT_BUS_TRACE_H
#define TESTS_SUPPORT_BUS_TRACE_H

#include <cstdint>
#include <string>
#include <vector>

struct PortWriteRecord {
  int32_t port;
  int32_t value;  // as the port library received it
  int64_t ns;     // when it arrived
};

struct DecodedCycle {
  bool data;  // false: instruction
  uint8_t byte;
  int64_t first_ns;
  int64_t last_ns;
};

// Splits the writes into four-write cycles for the module at `base` and
// checks each one's registers and control values. Any fault is described in
// `error`; the cycles decoded before it are returned.
std::vector<DecodedCycle> DecodeBusCycles(const std::vector<PortWriteRecord>& writes, int32_t base,
                                          std::string* error);

// The shortest time from any write to the next one.
int64_t ShortestGapNs(const std::vector<PortWriteRecord>& writes);

std::vector<uint8_t> InstructionBytes(const std::vector<DecodedCycle>& cycles);
std::vector<uint8_t> DataBytes(const std::vector<DecodedCycle>& cycles);

constexpr int64_t kMicrosecond = 1000;
constexpr int64_t kMillisecond = 1000 * kMicrosecond;

#endif  // TESTS_SUPPORT_BUS_TRACE_H
