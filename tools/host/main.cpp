// lcd_host: loads a display-driver module the way a host application does,
// runs a session of driver calls against the virtual LCD, and shows the
// screen the module would display. Its other modes replay a driver log from
// a real machine, check a real port and its cable, drive the real module
// through the user's own port library, and run a program of the user's on
// the virtual parallel port.
#include "console.h"
#include "messages.h"
#include "output_files.h"
#include "read_command_line.h"
#include "report.h"
#include "screen.h"

int main(int argc, char** argv) {
  Options options;
  std::vector<Mode> modes;
  const Mode* mode = nullptr;
  const int status = ReadCommandLine(argc, argv, &options, &modes, &mode);
  if (status >= 0) return status;
  if (!ShowUtf8OnConsole()) {
    Warn(
        "this console cannot be switched to UTF-8, so the screen's frame and block characters "
        "may show as other characters; redirect the output to a file to read them");
  }
  Settings settings = SettingsFrom(options, mode->drives_a_port);
  if (mode->drives_a_port) {
    if (const Problem problem = CheckPortToDrive(options, settings.session.parameters)) {
      return Fail(kUsageError, *problem);
    }
  }
  if (!settings.output.empty()) {
    if (const Problem clash = CheckOutputAgainstInputs(settings.output, options.input_files)) {
      return Fail(kUsageError, "--output: " + *clash);
    }
  }
  // Found before a run that saves screens, not after it has shown its first
  // page; a walk finds out only as it runs whether it is on real hardware.
  if (!settings.output.empty() && mode->saves_screens != SavesScreens::OnTheSimulator) {
    const std::string too_large =
        vlcd::PictureRefusal(settings.module.columns, settings.module.rows, vlcd::kPictureScale);
    if (!too_large.empty()) return Fail(kUsageError, "--columns and --rows: " + too_large);
    if (const Problem unwritable = vlcd::CheckScreenWritable(settings.output)) {
      return Fail(kRunError, "--output: " + *unwritable);
    }
  }
  return mode->run(options, settings);
}
