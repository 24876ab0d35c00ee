#include "session.h"

#include <chrono>
#include <thread>

namespace {

using Kind = ScriptCommand::Kind;

// Every entry is called through the session's hook, when it has one, so a
// caller can watch or wrap the driver's calls.
void CallDriver(const SessionSettings& settings, const std::function<void()>& entry) {
  if (settings.call_driver) {
    settings.call_driver(entry);
  } else {
    entry();
  }
}

Problem CallInit(const DriverEntries& driver, const SessionSettings& settings) {
  uint8_t ok = 0;
  const char* result = nullptr;
  CallDriver(settings, [&] {
    result = driver.Init(static_cast<uint8_t>(settings.columns),
                         static_cast<uint8_t>(settings.rows), settings.parameters.c_str(), &ok);
  });
  if (ok != 1) return std::string("DISPLAYDLL_Init failed: ") + result;
  return std::nullopt;
}

Problem CallWrite(const DriverEntries& driver, const SessionSettings& settings,
                  const std::string& escaped) {
  std::string text;
  if (Problem problem = ExpandText(&driver, escaped, &text)) return problem;
  if (settings.writing) settings.writing(text.size());
  CallDriver(settings, [&] { driver.Write(text.c_str()); });
  return std::nullopt;
}

// Makes the one driver call (or takes the one step) a command stands for.
// The driver counts as open from the moment Init is called, even when it
// fails, since a host then still calls Done.
Problem RunCommand(const DriverEntries& driver, const SessionSettings& settings,
                   const ScriptCommand& command, bool* driver_open) {
  switch (command.kind) {
    case Kind::Init:
      *driver_open = true;
      return CallInit(driver, settings);
    case Kind::Position:
      CallDriver(settings, [&] { driver.SetPosition(command.x, command.y); });
      return std::nullopt;
    case Kind::Write:
      return CallWrite(driver, settings, command.text);
    case Kind::Glyph:
      CallDriver(settings, [&] { driver.CustomChar(command.x, command.rows.data()); });
      return std::nullopt;
    case Kind::Resume:
      CallDriver(settings, [&] { driver.PowerResume(); });
      return std::nullopt;
    case Kind::Done:
      CallDriver(settings, [&] { driver.Done(); });
      *driver_open = false;
      return std::nullopt;
    case Kind::Snapshot:
      return settings.snapshot ? settings.snapshot() : "snapshot is not available here";
    case Kind::Wait:
      if (settings.pause) {
        settings.pause(command.wait_ms);
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(command.wait_ms));
      }
      return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

Problem RunCommands(const DriverEntries& driver, const SessionSettings& settings,
                    const std::vector<ScriptCommand>& commands, bool* driver_open) {
  bool open = false;
  if (driver_open == nullptr) driver_open = &open;
  *driver_open = false;
  for (const ScriptCommand& command : commands) {
    if (settings.announce) settings.announce(command.source);
    const Problem problem = RunCommand(driver, settings, command, driver_open);
    if (problem) {
      return (settings.lines_named ? "line " + std::to_string(command.line) + ": " : "") + *problem;
    }
    if (settings.after_command) {
      if (Problem stop = settings.after_command()) return stop;
    }
  }
  return std::nullopt;
}
