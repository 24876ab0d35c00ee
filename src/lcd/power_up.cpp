#include "lcd/power_up.h"

#include "hd66712_log_format.h"
#include "lcd/controller_link.h"
#include "lcd/display_config.h"
#include "log/diag_log.h"
#include "platform/clock.h"

namespace {

// The module may only just have been powered; let its supply settle.
constexpr uint32_t kPowerSettleMs = 1000;
// Waits from the controllers' 8-bit initialisation-by-instruction procedure.
constexpr int32_t kFirstFunctionSetUs = 4100;
constexpr int32_t kSecondFunctionSetUs = 100;
constexpr int32_t kClearOrHomeUs = 1600;

}  // namespace

void PowerUp() {
  dp_log(hd66712_log::kPowerResume, hd66712_log::kEntered);
  platform::SleepMilliseconds(kPowerSettleMs);
  if (display_config().chip_type == ChipType::HD66712) {
    // The extension register selects the HD66712's 4-line addressing.
    WriteC(kFunctionExtended);
    DelayUs(kFirstFunctionSetUs);
    WriteC(display_config().height == 4 ? kExtendedFourLines : kExtendedFunction);
    WriteC(kFunction2Lines);
  }
  const uint8_t function_set = display_config().height <= 1 ? kFunction1Line : kFunction2Lines;
  WriteC(function_set);
  DelayUs(kFirstFunctionSetUs);
  WriteC(function_set);
  DelayUs(kSecondFunctionSetUs);
  WriteC(function_set);
  WriteC(function_set);
  WriteC(kDisplayOff);
  WriteC(kClearDisplay);
  DelayUs(kClearOrHomeUs);
  WriteC(kDisplayOn);
  WriteC(kEntryIncrement);
  WriteC(kReturnHome);
  DelayUs(kClearOrHomeUs);
  dp_log(hd66712_log::kPowerResume, hd66712_log::kComplete);
}
