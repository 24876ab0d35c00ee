#include "modes.h"

#include "run_modes.h"

std::vector<Mode> AddModes(CLI::App& app, Options* options) {
  std::vector<Mode> modes = {
      AddDemoMode(app, options),        AddScriptMode(app, options),
      AddTestPatternMode(app, options), AddReplayMode(app, options),
      AddCheckPortMode(app, options),   AddWiringWalkMode(app, options),
      AddRealPortMode(app, options),
  };
  if (Mode run = AddRunProgramMode(app, options); run.command != nullptr) {
    modes.push_back(std::move(run));
  }
  return modes;
}
