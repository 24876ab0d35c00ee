// virtual-lcd-run: a program started on the virtual LCD in one command.
#include <cstdio>

#include "launch.h"

int main(int argc, char** argv) {
  constexpr int kUsageError = 2;
  Launch launch;
  CLI::App app(
      "Runs PROGRAM with the virtual parallel port preloaded: the parallel-port device it "
      "opens is a virtual LCD, shown live in this terminal while it runs and saved with "
      "--output when it ends. Nothing reaches any real port.",
      "virtual-lcd-run");
  app.footer(
      "PROGRAM and its ARGUMENTS follow the options (after --, if one of them starts with -).\n"
      "Example: virtual-lcd-run --chip HD44780 --output screen -- lcd4linux -F -f lcd4linux.conf");
  AddLaunchOptions(app, &launch);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    // --help is a success; any other is a bad argument, named by CLI11.
    return app.exit(error) == 0 ? 0 : kUsageError;
  }
  if (const std::string wrong = FinishLaunch(app, &launch); !wrong.empty()) {
    std::fprintf(stderr, "virtual-lcd-run: %s\n", wrong.c_str());
    return kUsageError;
  }
  return RunLaunch(launch);
}
