#include "read_command_line.h"

#include <algorithm>
#include <string>

#include "messages.h"
#include "old_forms.h"
#include "report.h"
#include "script.h"

namespace {

std::string ModeNames(const std::vector<Mode>& modes) {
  std::string names;
  for (size_t i = 0; i < modes.size(); ++i) {
    names += (i == 0 ? "" : i + 1 == modes.size() ? " or " : ", ") + modes[i].command->get_name();
  }
  return names;
}

// An option the chosen mode does not take, named with the modes that do.
std::string NotTaken(const std::vector<Mode>& modes, const Mode& chosen, const std::string& given) {
  const std::string name = given.substr(0, given.find('='));
  std::vector<std::string> takers;
  for (const Mode& mode : modes) {
    if (name.rfind("--", 0) == 0 && mode.command->get_option_no_throw(name) != nullptr) {
      takers.push_back(mode.command->get_name());
    }
  }
  const std::string mode = "lcd_host " + chosen.command->get_name();
  if (takers.empty())
    return given + ": " + mode + " takes no such option (see " + mode + " --help)";
  std::string which = takers.front();
  for (size_t i = 1; i < takers.size(); ++i) {
    which += (i + 1 == takers.size() ? " and " : ", ") + takers[i];
  }
  return name + ": " + mode + " does not take it (" + which +
         (takers.size() == 1 ? " does" : " do") + ")";
}

}  // namespace

int ReadCommandLine(int argc, char** argv, Options* options, std::vector<Mode>* modes,
                    const Mode** chosen) {
  FindOwnFiles(options);
  CLI::App app{
      "Loads the HD66712 display driver as a host application does and runs it: on the virtual "
      "LCD, which shows the screen the module would display and checks every byte against the "
      "controller's data sheet, or on a real module. Without a mode it runs the demo.",
      "lcd_host"};
  // Given twice, an option is refused in our words once parsing is done.
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  *modes = AddModes(app, options);
  app.require_subcommand(1, 1);
  app.footer(
      "\nlcd_host MODE --help gives each mode's options.\n\n"
      "Script: one command a line; a line starting with # is a comment.\n" +
      ScriptHelp() + "Exit status: 0 done, 1 the run failed (nothing saved), 2 a bad option.");
  NewForm form;
  if (const Problem problem = ToNewForm(std::vector<std::string>(argv + 1, argv + argc), &form)) {
    return Fail(kUsageError, *problem);
  }
  if (!form.new_mode.empty()) Note(NewFormNote(form));
  // A subcommand's "--" would end the whole command line's options, not
  // the run mode's: the program's name ends them there anyway.
  if (form.arguments.front() == "run") {
    const auto mark = std::find(form.arguments.begin(), form.arguments.end(), "--");
    if (mark != form.arguments.end()) form.arguments.erase(mark);
  }
  std::vector<std::string> reversed(form.arguments.rbegin(), form.arguments.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    for (const Mode& mode : *modes) {
      if (!mode.command->parsed()) continue;
      const std::vector<std::string> extra = mode.command->remaining();
      if (dynamic_cast<const CLI::ExtrasError*>(&e) != nullptr && !extra.empty()) {
        return Fail(kUsageError, NotTaken(*modes, mode, extra.front()));
      }
      return Fail(kUsageError, std::string(e.what()) + " (see lcd_host " +
                                   mode.command->get_name() + " --help)");
    }
    const auto named = [&form](const Mode& mode) {
      return mode.command->get_name() == form.arguments.front();
    };
    if (!form.arguments.empty() && std::none_of(modes->begin(), modes->end(), named) &&
        form.arguments.front()[0] != '-') {
      return Fail(kUsageError, "'" + form.arguments.front() + "' is no mode of lcd_host: give " +
                                   ModeNames(*modes) + " (see lcd_host --help)");
    }
    return Fail(kUsageError, std::string(e.what()) + " (see lcd_host --help)");
  }
  for (const Mode& mode : *modes) {
    if (mode.command->parsed()) *chosen = &mode;
  }
  const CLI::App& command = *(*chosen)->command;
  for (const CLI::Option* option : command.get_options()) {
    if (option->count() > 1) {
      return Fail(kUsageError, option->get_name() + " is given " + std::to_string(option->count()) +
                                   " times: give it once");
    }
  }
  if ((*chosen)->check) {
    if (const Problem problem = (*chosen)->check(*options)) return Fail(kUsageError, *problem);
  }
  FinishOptions(command, options);
  if (!Given(command, "--output") && (*chosen)->saves_screens == SavesScreens::Always) {
    options->output = vlcd::kDefaultScreenPrefix;
  }
  return -1;
}
