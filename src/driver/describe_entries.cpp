// The entries that describe the driver; they work at any time, also before
// the driver is started.
#include "displaydll.h"
#include "driver/driver_state.h"

namespace {
constexpr char kDriverName[] = "HD66712 Display v";
constexpr char kDriverVersion[] = HD66712_VERSION;
}  // namespace

extern "C" {

const char* DISPLAYDLL_CALL DISPLAYDLL_Usage(void) { return "HD66712 usage: LPT1,HD66712,Log"; }

const char* DISPLAYDLL_CALL DISPLAYDLL_DefaultParameters(void) { return "LPT1,HD66712"; }

const char* DISPLAYDLL_CALL DISPLAYDLL_DriverName(void) {
  return FormatDriverName(kDriverName, kDriverVersion);
}

}  // extern "C"
