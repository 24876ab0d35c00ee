// lcd_host's command line: the options, checked by the option library, and
// the settings a run mode works from.
#ifndef HOST_OPTIONS_H
#define HOST_OPTIONS_H

#include <set>
#include <string>
#include <vector>

#include "hd66712_parameters.h"
#include "module.h"
#include "session.h"
#include "test_pattern.h"

struct Mode;

// What the modes share; each mode's own options are kept in its own file.
struct Options {
  const Mode* mode = nullptr;  // set by ReadOptions
  std::string script_path;
  vlcd::Module display;                         // its port_base is set from `port` for the run
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

// Reads the command line into `options`. Returns -1 to go on, or the exit
// status when lcd_host is done (--help, or a bad option already reported).
int ReadOptions(int argc, char** argv, Options* options);

// The settings the run works from; warns about settings that are allowed
// but probably not meant.
Settings SettingsFrom(const Options& options);

// For the modes that drive a port: why the port that --port or the
// driver's parameters name cannot be a parallel port, if it cannot.
Problem CheckPortToDrive(const Options& options, const std::string& parameters);

#endif  // HOST_OPTIONS_H
