#include "lcd/controller_link.h"

#include "hd66712_log_format.h"
#include "hd66712_parameters.h"
#include "lcd/display_config.h"
#include "log/diag_log.h"
#include "platform/clock.h"
#include "port/port_backend.h"

namespace {

// Control register values. Strobe (pin 1) is E and Select-in (pin 17) the
// second enable; both are inverted at the connector, so clearing bits 0 and 3
// raises them. Initialize (pin 16, not inverted) is RS: low for instructions.
constexpr uint8_t kInstructionIdle = 0x0B;
constexpr uint8_t kInstructionStrobe = 0x02;
constexpr uint8_t kDataIdle = 0x0F;
constexpr uint8_t kDataStrobe = 0x06;

// Four writes, each held kBusSettleUs; the controller latches on E's fall.
void BusCycle(uint8_t byte, uint8_t idle, uint8_t strobe) {
  const uint16_t data_register = display_config().port_address;
  const uint16_t control_register = static_cast<uint16_t>(data_register + 2);
  PortWrite(control_register, idle);
  DelayUs(kBusSettleUs);
  PortWrite(data_register, byte);
  DelayUs(kBusSettleUs);
  PortWrite(control_register, strobe);
  DelayUs(kBusSettleUs);
  PortWrite(control_register, idle);
  DelayUs(kBusSettleUs);
}

}  // namespace

void WriteC(int value) {
  dp_log_char(hd66712_log::kInstruction, value);
  BusCycle(static_cast<uint8_t>(value), kInstructionIdle, kInstructionStrobe);
}

void WriteD(int value) {
  dp_log_char(hd66712_log::kData, value);
  BusCycle(static_cast<uint8_t>(value), kDataIdle, kDataStrobe);
}

void DelayUs(int32_t microseconds) {
  const int64_t start = platform::ClockTicks();
  const int64_t frequency = platform::ClockFrequency();
  const int64_t target = static_cast<int64_t>(microseconds) * frequency / 1000000;
  if (microseconds > 1000) platform::SleepMilliseconds(static_cast<uint32_t>(microseconds / 1000));
  // Measured from before the sleep, so the sleep counts toward the wait.
  while (platform::ClockTicks() - start <= target) {
  }
}
