#include "options.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "hd66712_parameters.h"
#include "live_window_link.h"
#include "messages.h"
#include "modes.h"
#include "module_loader.h"
#include "module_settings.h"
#include "number_text.h"
#include "option_checks.h"
#include "output_files.h"
#include "own_files.h"
#include "port_access.h"
#include "port_address.h"
#include "report.h"
#include "script.h"

namespace fs = std::filesystem;

namespace {

std::string Lowercase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

const CLI::Validator kOutputPrefix(
    [](std::string& text) { return vlcd::CheckScreenPrefix(text).value_or(""); }, "");

// Beside the program itself, as in the release and the package; else where
// the build puts it.
void FindOwnFiles(Options* options) {
  std::error_code missing;
  const fs::path folder = LocateOwnFiles().folder;
  const fs::path beside = folder / fs::path(HD66712_MODULE_FILE).filename();
  options->module = (fs::exists(beside, missing) ? beside : folder / HD66712_MODULE_FILE).string();
  options->port_library = (folder / VIRTUAL_PORT_LIBRARY).string();
}

// The system's loader does not look in the current folder for a bare file
// name (POSIX), so a file there is named by its path.
std::string InCurrentFolder(const std::string& path) {
  std::error_code missing;
  if (path.find_first_of("/\\") != std::string::npos || !fs::exists(path, missing)) return path;
  return (fs::current_path(missing) / path).string();
}

// The port word (the text before the first comma) as anything but LPT or
// 0x: the driver reads every such word as LPT1.
Problem PortWordUnknown(const std::string& parameters) {
  const size_t comma = parameters.find(',');
  std::string word = parameters.substr(0, comma);
  if (comma == std::string::npos && EndsWithLog(parameters.c_str())) {
    word.resize(word.size() - 3);
  }
  if (word.empty() || vlcd::StartsWithPortName(word) || word.rfind("0x", 0) == 0 ||
      Lowercase(word.substr(0, 2)) == "hd") {
    return std::nullopt;
  }
  const bool digits = word.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
  return "--params \"" + parameters + "\": the driver reads a port only as LPT1, LPT2 or 0x " +
         "and hexadecimal digits, so it takes \"" + word + "\" as LPT1 and drives " +
         HexAddress(kLpt1Port) + "; " +
         (digits ? "for the address 0x" + word + ", write 0x" + word
                 : "write the port's address (" + vlcd::NamedPorts() + ")");
}

// A chip named after a port with something other than a comma between
// them: the driver finds no comma, so reads no chip.
Problem ChipWithoutComma(const std::string& parameters) {
  if (parameters.find(',') != std::string::npos) return std::nullopt;
  for (const vlcd::Chip chip : {vlcd::Chip::HD66712, vlcd::Chip::HD44780}) {
    const size_t at = parameters.find(vlcd::ChipName(chip));
    if (at == std::string::npos || at == 0) continue;
    // A separator of another kind is replaced; none at all gets one.
    const bool separated = std::isalnum(static_cast<unsigned char>(parameters[at - 1])) == 0;
    return "--params \"" + parameters + "\": the driver looks for the chip after a comma and " +
           "finds none, so it keeps " + vlcd::ChipName(vlcd::Chip{}) +
           ", the chip it starts with; write " + parameters.substr(0, separated ? at - 1 : at) +
           "," + parameters.substr(at);
  }
  return std::nullopt;
}

// Parameters the driver reads otherwise than a user writing them meant: a
// log asked for anywhere but in the one place the driver looks, and a port
// named in a way it does not know.
std::vector<std::string> ParameterWarnings(const std::string& parameters) {
  std::vector<std::string> warnings;
  const std::string lower = Lowercase(parameters);
  if (lower.find("log") != std::string::npos && !EndsWithLog(parameters.c_str())) {
    warnings.push_back("--params \"" + parameters +
                       "\": the driver logs only when the text ends in exactly \"Log\" "
                       "(capital L, nothing after it), so its log stays off");
  }
  const long number =
      std::strtol(parameters.c_str() + std::min<size_t>(3, parameters.size()), nullptr, 10);
  if (vlcd::StartsWithPortName(parameters) &&
      (parameters.rfind("LPT", 0) != 0 || number < 1 || number > 2)) {
    char drives[8];
    std::snprintf(drives, sizeof drives, "0x%X", ParsePort(parameters.c_str()));
    warnings.push_back("--params \"" + parameters +
                       "\": the driver knows only LPT1 and LPT2, in capitals, and drives " +
                       drives + " here; give the port's address instead (" + vlcd::NamedPorts() +
                       ")");
  }
  if (const Problem unknown = PortWordUnknown(parameters)) warnings.push_back(*unknown);
  if (const Problem separator = ChipWithoutComma(parameters)) warnings.push_back(*separator);
  return warnings;
}

// Parameters that write the port with 0x but not as hexadecimal digits up
// to the comma: the driver reads the digits it finds ("0x3GC" is 0x003,
// "0xZZZ" 0x000) and keeps 16 bits of them, so a typo drives another port.
Problem PortTypo(const std::string& parameters) {
  if (parameters.rfind("0x", 0) != 0) return std::nullopt;
  const size_t end =
      std::min(parameters.find_first_not_of("0123456789abcdefABCDEF", 2), parameters.size());
  const std::string digits = parameters.substr(2, end - 2);
  const size_t first = digits.find_first_not_of('0');
  std::string why;
  if (digits.empty()) {
    why = "no hexadecimal digit follows 0x";
  } else if (end < parameters.size() && parameters[end] != ',' &&
             parameters.compare(end, std::string::npos, "Log") != 0) {
    why = std::string("its hexadecimal digits stop at '") + parameters[end] + "'";
  } else if (first != std::string::npos && digits.size() - first > 4) {
    why = "0x" + digits + " is wider than a port address (16 bits)";
  } else {
    return std::nullopt;
  }
  return "--params \"" + parameters + "\": " + why + ", so the driver reads the port as " +
         HexAddress(ParsePort(parameters.c_str()));
}

// A chip name the driver will not recognise: it compares the 7 characters
// after the first comma (from the start, with none) with each name,
// exactly, and keeps the chip it has when neither matches.
Problem ChipWordUnread(const std::string& parameters) {
  const char* text = parameters.c_str();
  const auto position =
      static_cast<size_t>(ChooseChip(text, EndsWithLog(text), ChipType{}).position);
  const std::string word = parameters.substr(position);
  // Without a comma the text is a port, unless it looks like a chip.
  if (position == 0 && Lowercase(word.substr(0, 2)) != "hd") return std::nullopt;
  size_t matched = 0;
  for (const vlcd::Chip chip : {vlcd::Chip::HD66712, vlcd::Chip::HD44780}) {
    const std::string name = vlcd::ChipName(chip);
    size_t same = 0;
    while (same < name.size() && same < word.size() && word[same] == name[same]) ++same;
    if (same == name.size()) return std::nullopt;
    matched = std::max(matched, same);
  }
  const std::string character = std::to_string(position + matched + 1);
  const std::string stop = matched < word.size()
                               ? "'" + word.substr(matched, 1) + "' (character " + character + ")"
                               : "the end of the text";
  return "--params \"" + parameters + "\": the driver takes a chip only as " + vlcd::ChipNames() +
         ", in capitals, right after the first comma; its match stops at " + stop +
         ", so it keeps " + vlcd::ChipName(vlcd::Chip{}) + ", the chip it starts with";
}

// Which modes take `option`, for a message: "--wiring-walk and
// --write-real-port do".
std::string ModesTaking(const CLI::Option& option) {
  std::vector<std::string> flags;
  for (const Mode& mode : Modes()) {
    if (Takes(mode, option)) flags.push_back(ModeName(mode));
  }
  if (flags.empty()) return "no mode does";
  std::string text = flags.front();
  for (size_t i = 1; i < flags.size(); ++i) text += " and " + flags[i];
  return text + (flags.size() == 1 ? " does" : " do");
}

// The mode the flags choose; refuses two modes, an option the mode does
// not take, and options that contradict each other within a mode.
Problem CheckMode(const CLI::App& app, Options* options) {
  const Mode* chosen = &Modes().front();
  for (const Mode& mode : Modes()) {
    if (*mode.flag == '\0' || app.count(mode.flag) == 0) continue;
    if (*chosen->flag != '\0') {
      return std::string(chosen->flag) + " and " + mode.flag + " are two modes: give one";
    }
    chosen = &mode;
  }
  for (const CLI::Option* option : app.get_options()) {
    const std::string name = option->get_name();
    if (option->count() > 1)
      return name + " is given " + std::to_string(option->count()) + " times: give it once";
    if (option->count() == 0 || name == "--help" || name == chosen->flag) continue;
    if (!Takes(*chosen, *option)) {
      return name + ": " + ModeName(*chosen) + " does not take it (" + ModesTaking(*option) + ")";
    }
  }
  if (app.count("--host-folder") > 0 && app.count("--port-library") > 0) {
    return "--host-folder and --port-library: the one finds the library as a host would, the "
           "other names it; give one";
  }
  if (app.count("--window") > 0 && !kLiveWindowExists) {
    return "--window: the live window is shown on Windows only; without --window the screen is "
           "shown here and saved to files";
  }
  if (app.count("--script") > 0 && app.count("--test-pattern") > 0) {
    return "--test-pattern and --script: the test pattern is a script of its own; give one";
  }
  if (app.count("--script") > 0 && app.count("--page-ms") > 0) {
    return "--page-ms: a --script has no pages, the test pattern has";
  }
  options->mode = chosen;
  return std::nullopt;
}

// The module settings' texts as given, read once parsing is done.
using SettingTexts = std::map<std::string, std::string>;

// The module: its settings, and the driver's parameters and port.
void AddModuleOptions(CLI::App& app, Options* options, SettingTexts* texts) {
  for (const vlcd::ModuleSetting& setting : vlcd::ModuleSettings()) {
    std::string& text = (*texts)[setting.name] = setting.show(options->display);
    const auto check = [&setting](std::string& given) {
      vlcd::Module scratch;
      return setting.read(given, &scratch).value_or("");
    };
    app.add_option(std::string("--") + setting.name, text, setting.help)
        ->check(CLI::Validator(check, ""))
        ->type_name(setting.value_name)
        ->capture_default_str();
  }
  app.add_option("--params", options->parameters,
                 "Driver parameters (default: built from --port and --chip)")
      ->type_name("TEXT");
  app.add_option("--port", options->port,
                 "Where the module is plugged in, " + HexAddress(kLpt1Port) + " by default")
      ->transform(CLI::Validator(
          [](std::string& text) {
            uint16_t port = 0;
            const Problem problem = vlcd::ReadPortAddress(text, &port);
            if (!problem) text = std::to_string(port);
            return problem.value_or("");
          },
          ""))
      ->type_name("ADDRESS");
}

// The options several modes take: with which files, and the pattern's pace.
void AddSharedOptions(CLI::App& app, Options* options) {
  app.add_option("--script", options->script_path, "Session script (below)")
      ->type_name("FILE")
      ->check(ExistingFileCheck());
  app.add_option("--output", options->output,
                 "Screen files: PREFIX.txt and PREFIX.png (default virtual_lcd)")
      ->type_name("PREFIX")
      ->check(kOutputPrefix);
  app.add_flag("--trace", options->trace, "List every byte the module latched");
  app.add_option("--module", options->module, "Driver module to load")
      ->type_name("PATH")
      ->check(NotEmptyCheck())
      ->capture_default_str();
  app.add_option("--port-library", options->port_library,
                 "Virtual port library to load; with --check-port or --wiring-walk, your port "
                 "library (default: found as the driver finds it)")
      ->type_name("PATH")
      ->check(NotEmptyCheck())
      ->capture_default_str();
  app.add_option("--page-ms", options->page_ms,
                 "With --write-real-port or --wiring-walk: how long each page of the test "
                 "pattern stays on the module, in ms")
      ->transform(NumberCheck(vlcd::NumberForm::Decimal, kMaxWaitMs))
      ->type_name("N")
      ->capture_default_str();
}

// What parsing leaves to do: the names read, paths made usable, defaults
// that depend on the mode.
void FinishOptions(const CLI::App& app, const SettingTexts& texts, Options* options) {
  for (const vlcd::ModuleSetting& setting : vlcd::ModuleSettings()) {
    setting.read(texts.at(setting.name), &options->display);
    if (app.count(std::string("--") + setting.name) > 0) {
      options->module_settings_given.insert(setting.name);
    }
  }
  options->port_library_given = app.count("--port-library") > 0;
  // A host may pass "", and the driver then keeps its defaults: so may a user.
  options->parameters_given = app.count("--params") > 0;
  options->module = InCurrentFolder(options->module);
  options->port_library = InCurrentFolder(options->port_library);
  options->input_files = {options->module, options->port_library};
  for (const CLI::Option* option : app.get_options()) {
    if (option->count() > 0 && option->get_type_name() == "FILE") {
      options->input_files.push_back(option->as<std::string>());
    }
  }
  if (app.count("--output") == 0 && options->mode->saves_screens == SavesScreens::Always) {
    options->output = vlcd::kDefaultScreenPrefix;
  }
}

}  // namespace

int ReadOptions(int argc, char** argv, Options* options) {
  FindOwnFiles(options);
  SettingTexts texts;
  CLI::App app{
      "Runs a session of driver calls against a virtual LCD and shows the screen the module\n"
      "would display. Without --script it runs a demo sized to the module.\n"};
  // Given twice, an option is refused in our words once parsing is done.
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  AddModuleOptions(app, options, &texts);
  AddSharedOptions(app, options);
  for (const Mode& mode : Modes()) mode.add_own_options(app, OwnHeading(mode));
  app.footer("\n" + ModesHelp(app) +
             "\nScript: one command a line; a line starting with # is a comment.\n" + ScriptHelp() +
             "Exit status: 0 done, 1 the run failed (nothing saved), 2 a bad option.");
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    return Fail(kUsageError, std::string(e.what()) + " (see --help)");
  }
  if (const Problem problem = CheckMode(app, options)) return Fail(kUsageError, *problem);
  FinishOptions(app, texts, options);
  return -1;
}

Settings SettingsFrom(const Options& options) {
  Settings settings;
  settings.module = options.display;
  settings.module.port_base = static_cast<uint16_t>(options.port);
  settings.session.columns = options.display.columns;
  settings.session.rows = options.display.rows;
  settings.session.lines_named = !options.script_path.empty();
  settings.session.parameters =
      !options.parameters_given
          ? vlcd::ParametersFor(static_cast<uint16_t>(options.port), options.display.chip)
          : options.parameters;
  settings.output = options.output;
  if (const Problem geometry =
          vlcd::GeometryWarning(options.display.columns, options.display.rows)) {
    Warn(*geometry);
  }
  for (const std::string& warning : ParameterWarnings(settings.session.parameters)) Warn(warning);
  // Where a port is driven, a typo is refused instead (CheckPortToDrive).
  if (!options.mode->drives_a_port) {
    if (const Problem typo = PortTypo(settings.session.parameters)) Warn(*typo);
  }
  if (const Problem chip = ChipWordUnread(settings.session.parameters)) Warn(*chip);
  return settings;
}

Problem CheckPortToDrive(const Options& options, const std::string& parameters) {
  if (const Problem none = NoParallelPortAt(static_cast<unsigned>(options.port))) {
    return "--port: " + *none;
  }
  if (!options.parameters_given) return std::nullopt;
  if (const Problem typo = PortTypo(parameters)) return *typo + "; nothing was written";
  if (const Problem none = NoParallelPortAt(ParsePort(parameters.c_str()))) {
    return "--params \"" + parameters + "\": " + *none;
  }
  return std::nullopt;
}
