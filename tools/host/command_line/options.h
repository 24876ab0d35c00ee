// What lcd_host's modes are given on the command line, and the options
// several modes take, each declared once here and added by the modes that
// take it. A mode's own options stay in the mode's file.
#ifndef HOST_OPTIONS_H
#define HOST_OPTIONS_H

#include <CLI/CLI.hpp>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "hd66712_parameters.h"
#include "module.h"
#include "session.h"
#include "test_pattern.h"

struct Options {
  std::string script_path;
  vlcd::Module display;                         // its port_base is set from `port` for the run
  std::map<std::string, std::string> settings;  // the module settings' texts, read after parsing
  std::set<std::string> module_settings_given;  // "columns", ...
  std::string parameters;                       // as given, "" included
  bool parameters_given = false;                // else built from --port and --chip
  int port = kLpt1Port;
  std::string output;  // empty when not given
  std::string module;
  std::string port_library;
  bool port_library_given = false;  // else the port library is found by name
  int page_ms = kDefaultPageMs;     // how long a page stays on a real module
  bool trace = false;               // list every byte the module latched
  // Every file the run reads, which the screens it saves must not overwrite.
  std::vector<std::string> input_files;
};

struct Settings {
  SessionSettings session;
  vlcd::Module module;
  std::string output;  // the prefix screens are saved under; "" for none
};

// Where the driver and the virtual port library are, as the defaults of
// --module and --port-library.
void FindOwnFiles(Options* options);

// The module settings a mode takes: every one where the virtual LCD shows
// the module, only those that change what is sent where a real module
// does (the ROM and the cable are the module's own there).
enum class ModuleSettingsFor { VirtualModule, RealModule };
void AddModuleSettings(CLI::App& command, Options* options, ModuleSettingsFor which);
// --port alone, and with the driver's parameters and module.
void AddPortOption(CLI::App& command, Options* options);
void AddDriverOptions(CLI::App& command, Options* options);
// --script FILE, for a mode that runs a built-in session without it.
void AddScriptOption(CLI::App& command, Options* options);
void AddOutputOption(CLI::App& command, Options* options);
void AddTraceOption(CLI::App& command, Options* options);
// `help` says which library the mode loads from --port-library.
void AddPortLibraryOption(CLI::App& command, Options* options, const std::string& help);
void AddPageMsOption(CLI::App& command, Options* options);

// Whether `name` was given to `command`; false where it takes no such option.
bool Given(const CLI::App& command, const std::string& name);

// What parsing `command` leaves to do: the settings read, paths made usable.
void FinishOptions(const CLI::App& command, Options* options);

// The settings the run works from; warns about settings that are allowed
// but probably not meant (parameters the driver reads otherwise, and, where
// no port is driven, a port typo).
Settings SettingsFrom(const Options& options, bool drives_a_port);

// For the modes that drive a port: why the port that --port or the
// driver's parameters name cannot be a parallel port, if it cannot.
Problem CheckPortToDrive(const Options& options, const std::string& parameters);

#endif  // HOST_OPTIONS_H
