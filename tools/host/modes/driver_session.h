// What the two modes that run the driver share: loading it, reading the
// script they run, and watching the driver's calls as they go.
#ifndef HOST_DRIVER_SESSION_H
#define HOST_DRIVER_SESSION_H

#include <string>
#include <vector>

#include "console.h"
#include "driver_module.h"
#include "module_loader.h"
#include "options.h"
#include "session.h"
#include "test_pattern.h"

// Loads the driver module and finds its entries, or says why not, with the
// loader's own reason.
Problem LoadDriver(const std::string& path, loader::ModuleHandle* module, DriverEntries* driver);

// What runs without --script: the demo, or the test pattern with its pages.
struct Builtin {
  bool test_pattern;
  PatternPages pages;
};

// The user's script, or the built-in one sized to the module, checked whole
// and its warnings shown.
Problem ReadSessionScript(const Options& options, Builtin builtin,
                          std::vector<ScriptCommand>* commands);

// Sets `session` to show what the driver prints on its own line, and to
// announce writes long enough to take a while, with an estimate, to
// standard error and to `long_write` when it is set.
void WatchDriverCalls(StdoutCapture& capture, SessionSettings& session,
                      std::function<void(size_t)> long_write);

#endif  // HOST_DRIVER_SESSION_H
