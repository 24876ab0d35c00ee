#include "session.h"

#include <chrono>
#include <thread>

namespace {

using Kind = ScriptCommand::Kind;

// Makes the one driver call (or takes the one step) a command stands for.
Problem RunCommand(const DriverEntries& driver, const SessionSettings& settings,
                   const ScriptCommand& command, bool* driver_open) {
  const auto call = [&settings](const std::function<void()>& entry) {
    if (settings.call_driver) {
      settings.call_driver(entry);
    } else {
      entry();
    }
  };
  Problem problem;
  switch (command.kind) {
    case Kind::Init: {
      uint8_t ok = 0;
      const char* result = nullptr;
      *driver_open = true;
      call([&] {
        result = driver.Init(static_cast<uint8_t>(settings.columns),
                             static_cast<uint8_t>(settings.rows), settings.parameters.c_str(), &ok);
      });
      if (ok != 1) problem = std::string("DISPLAYDLL_Init failed: ") + result;
      break;
    }
    case Kind::Position:
      call([&] { driver.SetPosition(command.x, command.y); });
      break;
    case Kind::Write: {
      std::string text;
      problem = ExpandText(&driver, command.text, &text);
      if (problem) break;
      if (settings.writing) settings.writing(text.size());
      call([&] { driver.Write(text.c_str()); });
      break;
    }
    case Kind::Glyph:
      call([&] { driver.CustomChar(command.x, command.rows.data()); });
      break;
    case Kind::Resume:
      call([&] { driver.PowerResume(); });
      break;
    case Kind::Done:
      call([&] { driver.Done(); });
      *driver_open = false;
      break;
    case Kind::Snapshot:
      problem = settings.snapshot ? settings.snapshot() : "snapshot is not available here";
      break;
    case Kind::Wait:
      if (settings.pause) {
        settings.pause(command.wait_ms);
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(command.wait_ms));
      }
      break;
  }
  return problem;
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

Problem RunSession(const DriverEntries& driver, const SessionSettings& settings,
                   const std::string& script) {
  std::vector<ScriptCommand> commands;
  if (Problem problem = ParseScript(script, &commands)) return problem;
  return RunCommands(driver, settings, commands);
}
