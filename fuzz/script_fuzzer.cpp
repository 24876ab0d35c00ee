// lcd_host scripts as users write them by hand or copy between machines:
// any bytes, any line ends, any escapes. A script that reads without error
// must run on the driver, in virtual time, without error, and its bytes
// must reach a virtual module in well-formed bus cycles on time.
#include <cstdint>
#include <string>
#include <vector>

#include "displaydll.h"
#include "driver_records.h"
#include "fake_port_libraries.h"
#include "fuzz_checks.h"
#include "session.h"
#include "test_lcd.h"
#include "virtual_lcd.h"

namespace {

// Long writes take the driver a bus cycle a byte even in virtual time;
// beyond this the script is only read, which is what may grow too slow.
constexpr size_t kMaxBytesRun = 4096;

size_t BytesWritten(const std::vector<ScriptCommand>& commands) {
  size_t bytes = 0;
  for (const ScriptCommand& command : commands) bytes += command.text.size();
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string script(reinterpret_cast<const char*>(data), size);
  std::vector<ScriptCommand> commands;
  std::vector<std::string> warnings;
  const Problem problem = ParseScript(script, &commands, &warnings);
  FUZZ_CHECK(!problem || commands.empty() || problem->rfind("line ", 0) == 0,
             "a problem in a line names the line");
  if (problem || BytesWritten(commands) > kMaxBytesRun) return 0;

  ResetDriverRecords();
  fake_ports::state.present["inpout32.dll"] = {};
  const DriverEntries driver{
      DISPLAYDLL_Usage,          DISPLAYDLL_DriverName,  DISPLAYDLL_DefaultParameters,
      DISPLAYDLL_Init,           DISPLAYDLL_PowerResume, DISPLAYDLL_Done,
      DISPLAYDLL_Write,          DISPLAYDLL_SetPosition, DISPLAYDLL_CustomChar,
      DISPLAYDLL_CustomCharIndex};
  SessionSettings settings;
  settings.columns = 16;
  settings.rows = 2;
  settings.parameters = "LPT1,HD44780";
  settings.snapshot = []() -> Problem { return std::nullopt; };
  settings.pause = [](long) {};
  const Problem run_problem = RunCommands(driver, settings, commands);
  FUZZ_CHECK(!run_problem, run_problem->c_str());

  size_t seen = 0;
  CheckNewBusCycles(&seen, 0x378);
  vlcd::VirtualLcd lcd = MakeTestLcd(vlcd::Chip::HD44780, 16, 2);
  for (const PortWriteRecord& write : fake_ports::state.writes) {
    vlcd::ReceivePortWrite(lcd, write.port, write.value, write.ns);
  }
  FUZZ_CHECK(lcd.findings.violations.empty(), lcd.findings.violations.front().description.c_str());
  DISPLAYDLL_Done();
  return 0;
}
