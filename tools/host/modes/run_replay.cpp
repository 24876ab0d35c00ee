// The replay of a driver log: what each session should have left on the
// module, to set beside what the real one showed.
#include <cstdio>
#include <memory>

#include "log_replay.h"
#include "messages.h"
#include "module_settings.h"
#include "option_checks.h"
#include "report.h"
#include "run_modes.h"
#include "screen.h"

namespace {

vlcd::Screen ShownScreen(const ReplayedSession& session) {
  return session.shut_down ? session.before_shut_down : vlcd::ScreenNow(session.lcd);
}

int RunReplay(const std::string& log_path, const Options& options, Settings& settings) {
  FromTheLog from_log;
  from_log.columns = options.module_settings_given.count("columns") == 0;
  from_log.rows = options.module_settings_given.count("rows") == 0;
  from_log.chip = options.module_settings_given.count("chip") == 0;
  from_log.record_bytes = options.trace;
  Replay replay;
  if (const Problem problem = ReplayLogFile(log_path, settings.module, from_log, &replay)) {
    return Fail(kRunError, log_path + ": " + *problem);
  }
  for (const std::string& problem : replay.unreadable) Warn(log_path + ": " + problem);
  if (replay.more_unreadable > 0) {
    Warn(log_path + ": and " + std::to_string(replay.more_unreadable) +
         " more lines that could not be read");
  }
  for (const std::string& warning : replay.warnings) Warn(log_path + ": " + warning);
  if (replay.sessions.empty()) {
    return Fail(kRunError, log_path + " holds no driver session");
  }
  for (const ReplayedSession& session : replay.sessions) {
    const std::string taken =
        session.from_log.empty() ? "" : " (its " + session.from_log + " as its Init recorded)";
    std::printf("Session of lines %d-%d on a %s%s, %s:\n", session.first_line, session.last_line,
                vlcd::Describe(session.lcd.module).c_str(), taken.c_str(),
                session.shut_down ? "as it was before the driver shut down and cleared it"
                                  : "as it was at the end of the log");
    if (session.init_failed) {
      std::printf(
          "DISPLAYDLL_Init failed: the log shows no port library loaded, so nothing was sent "
          "(the host showed %s; the module shows what it powered up with).\n",
          kInitFailureMessages);
    }
    if (session.four_bit_line > 0) {
      std::printf(
          "Line %d's function set switched the controller to 4-bit transfers, which this driver "
          "never asks for: it sends whole bytes on eight lines, so from that line on the "
          "module takes each byte as two halves and the screen below is garbled.\n",
          session.four_bit_line);
    }
    if (options.trace) std::fputs(vlcd::TraceLines(session.lcd, 0).c_str(), stdout);
    std::fputs((vlcd::FramedScreen(ShownScreen(session)) + vlcd::Notes(session.lcd)).c_str(),
               stdout);
  }
  if (settings.output.empty()) return 0;
  const ReplayedSession& last = replay.sessions.back();
  const vlcd::SavedScreen saved = vlcd::SaveScreen(last.lcd, ShownScreen(last), settings.output);
  std::fputs(vlcd::SavedLines(saved).c_str(), stdout);
  return saved.problems.empty() ? 0 : kRunError;
}

}  // namespace

Mode AddReplayMode(CLI::App& app, Options* options) {
  CLI::App* command = app.add_subcommand(
      "replay",
      "The screen each session of a driver log (written with Log) should have left on the "
      "module, to set beside what the real one showed; saved only with --output");
  auto log_path = std::make_shared<std::string>();
  command->add_option("LOG", *log_path, "The driver log")
      ->required()
      ->check(ExistingFileCheck())
      ->type_name("FILE");
  AddModuleSettings(*command, options, ModuleSettingsFor::VirtualModule);
  AddOutputOption(*command, options);
  AddTraceOption(*command, options);
  Mode mode;
  mode.command = command;
  mode.saves_screens = SavesScreens::WhenAsked;
  mode.run = [log_path](const Options& given, Settings& settings) {
    return RunReplay(*log_path, given, settings);
  };
  return mode;
}
