#include "session.h"

#include <chrono>
#include <sstream>
#include <thread>

#include "module_settings.h"

namespace {

using Kind = ScriptCommand::Kind;

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr long kMaxWaitMs = 60000;

// One or two hexadecimal digits, nothing else.
bool ParseRowByte(const std::string& word, uint8_t* value) {
  if (word.empty() || word.size() > 2) return false;
  int total = 0;
  for (char c : word) {
    const int digit = vlcd::HexDigit(c);
    if (digit < 0) return false;
    total = total * 16 + digit;
  }
  *value = static_cast<uint8_t>(total);
  return true;
}

std::string ParseByteNumber(const std::string& what, const std::string& word, uint8_t* value) {
  long number = 0;
  const std::string error =
      vlcd::ParseNumber(word, vlcd::NumberForm::Decimal, 0, vlcd::kMaxSize, &number);
  if (!error.empty()) return what + ": " + error;
  *value = static_cast<uint8_t>(number);
  return "";
}

std::string ParseLine(const std::string& line, ScriptCommand* command) {
  std::istringstream stream(line);
  std::vector<std::string> words;
  for (std::string word; stream >> word;) words.push_back(word);
  const std::string& name = words[0];
  const size_t arguments = words.size() - 1;
  if (name == "write") {
    command->kind = Kind::Write;
    command->text = line.size() > 6 ? line.substr(6) : "";
    std::string expanded;
    return ExpandText(nullptr, command->text, &expanded);
  }
  if (name == "init" || name == "resume" || name == "done" || name == "snapshot") {
    command->kind = name == "init"     ? Kind::Init
                    : name == "resume" ? Kind::Resume
                    : name == "done"   ? Kind::Done
                                       : Kind::Snapshot;
    return arguments == 0 ? "" : name + " takes nothing after it, found \"" + words[1] + "\"";
  }
  if (name == "wait") {
    command->kind = Kind::Wait;
    if (arguments != 1) return "wait takes a number of milliseconds, nothing else";
    const std::string error =
        vlcd::ParseNumber(words[1], vlcd::NumberForm::Decimal, 0, kMaxWaitMs, &command->wait_ms);
    return error.empty() ? "" : "wait: " + error;
  }
  if (name == "position") {
    command->kind = Kind::Position;
    if (arguments != 2) return "position takes a column and a row, nothing else";
    std::string error = ParseByteNumber("position column", words[1], &command->x);
    if (error.empty()) error = ParseByteNumber("position row", words[2], &command->y);
    return error;
  }
  if (name == "glyph") {
    command->kind = Kind::Glyph;
    if (arguments != 9) return "glyph takes a number and eight hexadecimal rows, nothing else";
    const std::string error = ParseByteNumber("glyph number", words[1], &command->x);
    if (!error.empty()) return error;
    for (size_t row = 0; row < 8; ++row) {
      if (!ParseRowByte(words[row + 2], &command->rows[row])) {
        return "glyph row " + std::to_string(row) + ": '" + words[row + 2] +
               "' is not one or two hexadecimal digits";
      }
    }
    return "";
  }
  return "unknown command \"" + name + "\"";
}

}  // namespace

std::string ExpandText(const DriverEntries* driver, const std::string& text,
                       std::string* expanded) {
  expanded->clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      *expanded += text[i];
      continue;
    }
    const std::string rest = text.substr(i + 1);
    if (rest.empty()) return "a lone \\ at the end of the text (write \\\\ for a backslash)";
    if (rest[0] == '\\') {
      *expanded += '\\';
      i += 1;
    } else if (rest[0] == 'x') {
      if (rest.size() < 3 || vlcd::HexDigit(rest[1]) < 0 || vlcd::HexDigit(rest[2]) < 0) {
        return "\\x takes exactly two hexadecimal digits, as in \\x4B";
      }
      const int value = vlcd::HexDigit(rest[1]) * 16 + vlcd::HexDigit(rest[2]);
      if (value == 0) return "\\x00 cannot be sent: the driver's text ends at its first 0 byte";
      *expanded += static_cast<char>(value);
      i += 3;
    } else if (rest[0] == 'g') {
      if (rest.size() < 2 || rest[1] < '1' || rest[1] > '8') {
        return "\\g takes a glyph number from 1 to 8, as in \\g1";
      }
      const auto glyph = static_cast<uint8_t>(rest[1] - '0');
      *expanded += static_cast<char>(driver != nullptr ? driver->CustomCharIndex(glyph) : glyph);
      i += 2;
    } else {
      return std::string("unknown escape \\") + rest[0] + " (use \\xHH, \\gN or \\\\)";
    }
  }
  return "";
}

std::string ParseScript(const std::string& script, std::vector<ScriptCommand>* commands) {
  commands->clear();
  std::string text = script;
  if (text.rfind(kByteOrderMark, 0) == 0) text.erase(0, sizeof kByteOrderMark - 1);
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    const std::string where = "line " + std::to_string(number) + ": ";
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find('\0') != std::string::npos) {
      return where + "a NUL byte in the script (write \\xHH for a byte from 01 to FF)";
    }
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    ScriptCommand command;
    command.line = number;
    command.source = line.substr(start);
    const std::string error = ParseLine(line.substr(start), &command);
    if (!error.empty()) return where + error;
    commands->push_back(command);
  }
  return "";
}

std::string RunCommands(const DriverEntries& driver, const SessionSettings& settings,
                        const std::vector<ScriptCommand>& commands) {
  for (const ScriptCommand& command : commands) {
    if (settings.announce) settings.announce(command.source);
    std::string error;
    switch (command.kind) {
      case Kind::Init: {
        uint8_t ok = 0;
        const char* result =
            driver.Init(static_cast<uint8_t>(settings.columns), static_cast<uint8_t>(settings.rows),
                        settings.parameters.c_str(), &ok);
        if (ok != 1) error = std::string("DISPLAYDLL_Init failed: ") + result;
        break;
      }
      case Kind::Position:
        driver.SetPosition(command.x, command.y);
        break;
      case Kind::Write: {
        std::string text;
        error = ExpandText(&driver, command.text, &text);
        if (error.empty()) driver.Write(text.c_str());
        break;
      }
      case Kind::Glyph:
        driver.CustomChar(command.x, command.rows.data());
        break;
      case Kind::Resume:
        driver.PowerResume();
        break;
      case Kind::Done:
        driver.Done();
        break;
      case Kind::Snapshot:
        error = settings.snapshot ? settings.snapshot() : "snapshot is not available here";
        break;
      case Kind::Wait:
        std::this_thread::sleep_for(std::chrono::milliseconds(command.wait_ms));
        break;
    }
    if (!error.empty()) return "line " + std::to_string(command.line) + ": " + error;
  }
  return "";
}

std::string RunSession(const DriverEntries& driver, const SessionSettings& settings,
                       const std::string& script) {
  std::vector<ScriptCommand> commands;
  const std::string error = ParseScript(script, &commands);
  return error.empty() ? RunCommands(driver, settings, commands) : error;
}
