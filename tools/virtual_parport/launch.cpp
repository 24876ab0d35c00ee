#include "launch.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "live_state.h"
#include "live_view.h"
#include "module_environment.h"
#include "module_loader.h"
#include "module_settings.h"
#include "steady_nanoseconds.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRedrawMs = 100;
constexpr size_t kOutputLinesKept = 200;
constexpr size_t kOutputLinesShown = 8;

// Messages go out under the name the launcher was started by.
const char* who = "virtual-lcd-run";

void Say(const std::string& message) { std::fprintf(stderr, "%s: %s\n", who, message.c_str()); }

// The virtual parallel port: beside this program in the build tree, or
// where the package installs it.
std::string PreloadLibrary() {
  const fs::path folder = fs::path(loader::ExecutableFile()).parent_path();
  for (const fs::path& candidate :
       {folder / VIRTUAL_PARPORT_IN_BUILD, folder / VIRTUAL_PARPORT_INSTALLED}) {
    std::error_code unknown;
    if (fs::is_regular_file(candidate, unknown)) return fs::weakly_canonical(candidate).string();
  }
  return "";
}

// The environment the program starts with: the preload after any the user
// has (a sanitizer's runtime must stay first), the device and the module.
void SetEnvironment(const Launch& launch, const std::string& preload, const std::string& live) {
  const char* before = std::getenv("LD_PRELOAD");
  setenv("LD_PRELOAD",
         (before != nullptr && *before != '\0' ? std::string(before) + ":" : "")
             .append(preload)
             .c_str(),
         1);
  setenv("HD_VLCD_PARPORT", launch.device.c_str(), 1);
  for (const auto& [name, value] : launch.settings) {
    setenv(EnvironmentName(name).c_str(), value.c_str(), 1);
  }
  if (!launch.output.empty()) setenv("HD_VLCD_OUTPUT", launch.output.c_str(), 1);
  if (launch.trace) setenv("HD_VLCD_TRACE", "1", 1);
  if (!live.empty()) setenv("HD_VLCD_LIVE", live.c_str(), 1);
}

std::vector<char*> Arguments(const std::vector<std::string>& command) {
  std::vector<char*> arguments;
  for (const std::string& word : command) arguments.push_back(const_cast<char*>(word.c_str()));
  arguments.push_back(nullptr);
  return arguments;
}

// The program's output as it comes, in lines, the latest kept.
struct Output {
  std::deque<std::string> lines;
  std::string partial;
  int64_t dropped = 0;
};

void TakeOutput(Output& output, const char* bytes, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    if (bytes[i] != '\n') {
      output.partial += bytes[i];
      continue;
    }
    output.lines.push_back(output.partial);
    output.partial.clear();
    if (output.lines.size() > kOutputLinesKept) {
      output.lines.pop_front();
      ++output.dropped;
    }
  }
}

int TerminalColumns() {
  winsize size{};
  return ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
}

// The latest `shown` lines of output; while live each is cut to the
// terminal's width, so the view stays where it is drawn.
std::string OutputLines(const Output& output, size_t shown, bool cut) {
  const size_t width = static_cast<size_t>(std::max(TerminalColumns() - 1, 1));
  std::string text;
  const size_t first = output.lines.size() > shown ? output.lines.size() - shown : 0;
  for (size_t i = first; i < output.lines.size(); ++i) {
    text += (cut ? output.lines[i].substr(0, width) : output.lines[i]) + "\n";
  }
  return text;
}

// Draws over what was drawn before: `drawn` lines up, cleared to the end.
void Draw(const std::string& text, int lines, int* drawn) {
  std::string out;
  if (*drawn > 0) out = "\r\x1b[" + std::to_string(*drawn) + "A\x1b[J";
  out += text;
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  *drawn = lines;
}

// The terminal rows `text` takes: a line wider than the terminal wraps.
// Characters are counted as UTF-8 sequences; escape sequences take none.
int CountRows(const std::string& text) {
  const int width = TerminalColumns();
  int rows = 0;
  int column = 0;
  bool escape = false;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (escape) {
      escape = std::isalpha(byte) == 0;
      continue;
    }
    if (c == '\x1b') {
      escape = true;
    } else if (c == '\n') {
      rows += 1 + (column > 0 ? (column - 1) / width : 0);
      column = 0;
    } else if ((byte & 0xC0) != 0x80) {
      ++column;
    }
  }
  return rows;
}

// The frame now; once the program has `ended`, the screen it last showed.
std::string View(const vparport::LiveState& state, const Launch& launch, bool ended) {
  vparport::LiveSnapshot snapshot;
  if (!vparport::ReadLive(state, &snapshot)) {
    return ended ? "(the program never opened " + launch.device + ")\n"
                 : "(waiting for the program to open " + launch.device + ")\n";
  }
  return vparport::LiveFrame(snapshot, SteadyNanoseconds(), ended);
}

int ExitStatus(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return 1;
}

// Forks the program with its output into a pipe; returns its pid, or -1
// with the reason said.
pid_t StartProgram(const Launch& launch, int* output_fd) {
  int output[2];
  int failure[2];  // the child's errno when exec fails; closed by exec
  if (pipe2(output, O_CLOEXEC) != 0 || pipe2(failure, O_CLOEXEC) != 0) {
    Say(std::string("cannot make a pipe: ") + std::strerror(errno));
    return -1;
  }
  const pid_t child = fork();
  if (child == 0) {
    dup2(output[1], STDOUT_FILENO);
    dup2(output[1], STDERR_FILENO);
    std::vector<char*> arguments = Arguments(launch.command);
    execvp(arguments[0], arguments.data());
    const int error = errno;
    (void)!write(failure[1], &error, sizeof error);
    _exit(kCannotRun);
  }
  close(output[1]);
  close(failure[1]);
  int error = 0;
  const bool failed = child > 0 && read(failure[0], &error, sizeof error) == sizeof error;
  close(failure[0]);
  if (child < 0 || failed) {
    Say("cannot run " + launch.command.front() + ": " + std::strerror(child < 0 ? errno : error));
    if (child > 0) waitpid(child, nullptr, 0);
    close(output[0]);
    return -1;
  }
  *output_fd = output[0];
  return child;
}

int RunLive(const Launch& launch, const std::string& preload) {
  char live_path[] = "/tmp/virtual-lcd-run.XXXXXX";
  const int live_fd = mkstemp(live_path);
  if (live_fd < 0 || ftruncate(live_fd, sizeof(vparport::LiveState)) != 0) {
    Say(std::string("cannot make the live view's file in /tmp: ") + std::strerror(errno));
    return 1;
  }
  close(live_fd);
  vparport::LiveState* state = vparport::MapLiveState(live_path);
  if (state == nullptr) {
    unlink(live_path);
    Say("cannot map the live view's file");
    return 1;
  }
  SetEnvironment(launch, preload, live_path);
  // Ctrl+C reaches the program, which ends as it likes; the view stays to
  // show how it left the module.
  signal(SIGINT, SIG_IGN);
  signal(SIGQUIT, SIG_IGN);
  int output_fd = -1;
  const pid_t child = StartProgram(launch, &output_fd);
  if (child < 0) {
    unlink(live_path);
    return kCannotRun;
  }
  Output output;
  int drawn = 0;
  std::string last;
  int status = 0;
  bool ended = false;
  while (!ended) {
    pollfd wait{output_fd, POLLIN, 0};
    if (poll(&wait, 1, kRedrawMs) > 0) {
      char bytes[4096];
      const ssize_t got = read(output_fd, bytes, sizeof bytes);
      if (got > 0) TakeOutput(output, bytes, static_cast<size_t>(got));
    }
    ended = waitpid(child, &status, WNOHANG) == child;
    const std::string text =
        View(*state, launch, false) + OutputLines(output, kOutputLinesShown, true);
    if (text != last || ended) {
      Draw(text, CountRows(text), &drawn);
      last = text;
    }
  }
  // What the program said as it ended, after the last frame.
  char bytes[4096];
  for (ssize_t got; (got = read(output_fd, bytes, sizeof bytes)) > 0;) {
    TakeOutput(output, bytes, static_cast<size_t>(got));
  }
  if (!output.partial.empty()) TakeOutput(output, "\n", 1);
  std::string all = View(*state, launch, true);
  if (output.dropped > 0) {
    all +=
        "(" + std::to_string(output.dropped) + " earlier lines of the program's output not kept)\n";
  }
  all += OutputLines(output, kOutputLinesKept, false);
  Draw(all, 0, &drawn);
  close(output_fd);
  munmap(state, sizeof(vparport::LiveState));
  unlink(live_path);
  return ExitStatus(status);
}

}  // namespace

void AddLaunchOptions(CLI::App& command, Launch* launch) {
  command
      .add_option("--device", launch->device,
                  "The ppdev device the program opens (its port setting); it need not exist")
      ->type_name("PATH")
      ->capture_default_str();
  for (const vlcd::ModuleSetting& setting : vlcd::ModuleSettings()) {
    std::string& text = launch->settings[setting.name];
    const auto check = [&setting](std::string& given) {
      vlcd::Module scratch;
      return setting.read(given, &scratch).value_or("");
    };
    command.add_option(std::string("--") + setting.name, text, setting.help)
        ->check(CLI::Validator(check, ""))
        ->type_name(setting.value_name);
  }
  command
      .add_option("--output", launch->output,
                  "Save the screen when the program ends, as PREFIX.txt and PREFIX.png")
      ->type_name("PREFIX");
  command.add_flag("--trace", launch->trace,
                   "Also list every byte the module latched, in PREFIX-trace.txt");
  command.add_flag("--live,!--no-live", launch->live,
                   "Show the screen live (the default when standard output is a terminal)");
  command.prefix_command();
}

std::string FinishLaunch(const CLI::App& command, Launch* launch) {
  // An empty path names nothing: the program would run with nothing
  // simulated, or with no screen saved.
  for (const auto& [name, given] :
       {std::pair{"--device", launch->device.empty()},
        std::pair{"--output", command.count("--output") > 0 && launch->output.empty()}}) {
    if (given) return std::string(name) + ": an empty path names nothing";
  }
  launch->command = command.remaining();
  if (!launch->command.empty() && launch->command.front() == "--") {
    launch->command.erase(launch->command.begin());
  }
  if (launch->command.empty()) {
    return std::string("name the program to run, as in: ") + launch->name +
           " --chip HD44780 -- lcd4linux -F";
  }
  for (auto setting = launch->settings.begin(); setting != launch->settings.end();) {
    setting = setting->second.empty() ? launch->settings.erase(setting) : std::next(setting);
  }
  return "";
}

int RunLaunch(const Launch& launch) {
  who = launch.name.c_str();
  const std::string preload = PreloadLibrary();
  if (preload.empty()) {
    Say("the virtual parallel port (virtual_parport.so) is not beside this program nor where "
        "it is installed; build it (cmake --build --preset linux) or reinstall");
    return kCannotRun;
  }
  if (launch.live) return RunLive(launch, preload);
  SetEnvironment(launch, preload, "");
  std::vector<char*> arguments = Arguments(launch.command);
  execvp(arguments[0], arguments.data());
  Say("cannot run " + launch.command.front() + ": " + std::strerror(errno));
  return kCannotRun;
}
