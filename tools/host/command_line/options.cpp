#include "options.h"

#include <filesystem>

#include "messages.h"
#include "module_settings.h"
#include "number_text.h"
#include "option_checks.h"
#include "own_files.h"
#include "parameter_warnings.h"
#include "port_access.h"
#include "port_address.h"
#include "report.h"

namespace fs = std::filesystem;

namespace {

const CLI::Validator kOutputPrefix(
    [](std::string& text) { return vlcd::CheckScreenPrefix(text).value_or(""); }, "");

// The system's loader does not look in the current folder for a bare file
// name (POSIX), so a file there is named by its path.
std::string InCurrentFolder(const std::string& path) {
  std::error_code missing;
  if (path.find_first_of("/\\") != std::string::npos || !fs::exists(path, missing)) return path;
  return (fs::current_path(missing) / path).string();
}

}  // namespace

// Beside the program itself, as in the release and the package; else where
// the build puts it.
void FindOwnFiles(Options* options) {
  std::error_code missing;
  const fs::path folder = LocateOwnFiles().folder;
  const fs::path beside = folder / fs::path(HD66712_MODULE_FILE).filename();
  options->module = (fs::exists(beside, missing) ? beside : folder / HD66712_MODULE_FILE).string();
  options->port_library = (folder / VIRTUAL_PORT_LIBRARY).string();
}

void AddModuleSettings(CLI::App& command, Options* options, ModuleSettingsFor which) {
  for (const vlcd::ModuleSetting& setting : vlcd::ModuleSettings()) {
    if (which == ModuleSettingsFor::RealModule && !setting.matters_on_a_real_module) continue;
    std::string& text = options->settings[setting.name] = setting.show(options->display);
    const auto check = [&setting](std::string& given) {
      vlcd::Module scratch;
      return setting.read(given, &scratch).value_or("");
    };
    command.add_option(std::string("--") + setting.name, text, setting.help)
        ->check(CLI::Validator(check, ""))
        ->type_name(setting.value_name)
        ->capture_default_str();
  }
}

void AddPortOption(CLI::App& command, Options* options) {
  command
      .add_option("--port", options->port,
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

void AddDriverOptions(CLI::App& command, Options* options) {
  command
      .add_option("--params", options->parameters,
                  "Driver parameters (default: built from --port and --chip)")
      ->type_name("TEXT");
  AddPortOption(command, options);
  command.add_option("--module", options->module, "Driver module to load")
      ->type_name("PATH")
      ->check(NotEmptyCheck())
      ->capture_default_str();
}

void AddScriptOption(CLI::App& command, Options* options) {
  command.add_option("--script", options->script_path, "Session script (lcd_host --help)")
      ->type_name("FILE")
      ->check(ExistingFileCheck());
}

void AddOutputOption(CLI::App& command, Options* options) {
  command
      .add_option("--output", options->output,
                  "Screen files: PREFIX.txt and PREFIX.png (default virtual_lcd)")
      ->type_name("PREFIX")
      ->check(kOutputPrefix);
}

void AddTraceOption(CLI::App& command, Options* options) {
  command.add_flag("--trace", options->trace, "List every byte the module latched");
}

void AddPortLibraryOption(CLI::App& command, Options* options, const std::string& help) {
  command.add_option("--port-library", options->port_library, help)
      ->type_name("PATH")
      ->check(NotEmptyCheck())
      ->capture_default_str();
}

void AddPageMsOption(CLI::App& command, Options* options) {
  command
      .add_option("--page-ms", options->page_ms,
                  "How long each page of the test pattern stays on the module, in ms")
      ->transform(NumberCheck(vlcd::NumberForm::Decimal, kMaxWaitMs))
      ->type_name("N")
      ->capture_default_str();
}

bool Given(const CLI::App& command, const std::string& name) {
  const CLI::Option* option = command.get_option_no_throw(name);
  return option != nullptr && option->count() > 0;
}

void FinishOptions(const CLI::App& command, Options* options) {
  for (const vlcd::ModuleSetting& setting : vlcd::ModuleSettings()) {
    const auto text = options->settings.find(setting.name);
    if (text == options->settings.end()) continue;
    setting.read(text->second, &options->display);
    if (Given(command, std::string("--") + setting.name)) {
      options->module_settings_given.insert(setting.name);
    }
  }
  options->port_library_given = Given(command, "--port-library");
  // A host may pass "", and the driver then keeps its defaults: so may a user.
  options->parameters_given = Given(command, "--params");
  options->module = InCurrentFolder(options->module);
  options->port_library = InCurrentFolder(options->port_library);
  options->input_files = {options->module, options->port_library};
  for (const CLI::Option* option : command.get_options()) {
    if (option->count() > 0 && option->get_type_name() == "FILE") {
      options->input_files.push_back(option->as<std::string>());
    }
  }
}

Settings SettingsFrom(const Options& options, bool drives_a_port) {
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
  if (!drives_a_port) {
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
