#include "session.h"

#include <cstdlib>
#include <sstream>

namespace {

bool ParseNumber(const std::string& word, int base, int low, int high, int* value) {
  char* end = nullptr;
  const long number = std::strtol(word.c_str(), &end, base);
  if (word.empty() || *end != '\0' || number < low || number > high) return false;
  *value = static_cast<int>(number);
  return true;
}

std::string RunCommand(const DriverEntries& driver, const SessionSettings& settings,
                       const std::string& line) {
  std::istringstream words(line);
  std::string command;
  words >> command;
  if (command == "init") {
    uint8_t ok = 0;
    const char* result =
        driver.Init(static_cast<uint8_t>(settings.columns), static_cast<uint8_t>(settings.rows),
                    settings.parameters.c_str(), &ok);
    return ok == 1 ? "" : std::string("DISPLAYDLL_Init failed: ") + result;
  }
  if (command == "position") {
    std::string x, y;
    int column = 0, row = 0;
    words >> x >> y;
    if (!ParseNumber(x, 10, 0, 255, &column) || !ParseNumber(y, 10, 0, 255, &row)) {
      return "position needs a column and a row from 0 to 255";
    }
    driver.SetPosition(static_cast<uint8_t>(column), static_cast<uint8_t>(row));
    return "";
  }
  if (command == "write") {
    std::string error;
    const std::string text = ExpandText(driver, line.size() > 6 ? line.substr(6) : "", &error);
    if (error.empty()) driver.Write(text.c_str());
    return error;
  }
  if (command == "glyph") {
    std::string word;
    int number = 0;
    words >> word;
    if (!ParseNumber(word, 10, 0, 255, &number)) return "glyph needs a number from 0 to 255";
    uint8_t rows[8];
    for (uint8_t& row : rows) {
      int value = 0;
      if (!(words >> word) || !ParseNumber(word, 16, 0, 255, &value)) {
        return "glyph needs eight hexadecimal row bytes";
      }
      row = static_cast<uint8_t>(value);
    }
    driver.CustomChar(static_cast<uint8_t>(number), rows);
    return "";
  }
  if (command == "resume") {
    driver.PowerResume();
    return "";
  }
  if (command == "done") {
    driver.Done();
    return "";
  }
  return "unknown command \"" + command + "\"";
}

}  // namespace

std::string ExpandText(const DriverEntries& driver, const std::string& text, std::string* error) {
  std::string expanded;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 >= text.size()) {
      expanded += text[i];
      continue;
    }
    int value = 0;
    if (text[i + 1] == 'x' && ParseNumber(text.substr(i + 2, 2), 16, 1, 255, &value)) {
      expanded += static_cast<char>(value);
      i += 3;
    } else if (text[i + 1] == 'g' && ParseNumber(text.substr(i + 2, 1), 10, 1, 8, &value)) {
      expanded += static_cast<char>(driver.CustomCharIndex(static_cast<uint8_t>(value)));
      i += 2;
    } else if (text[i + 1] == '\\') {
      expanded += '\\';
      i += 1;
    } else {
      *error = "unknown escape in \"" + text + "\" (use \\xHH, \\gN or \\\\)";
      return "";
    }
  }
  return expanded;
}

std::string RunSession(const DriverEntries& driver, const SessionSettings& settings,
                       const std::string& script) {
  std::istringstream lines(script);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line[start] == '#') continue;
    const std::string error = RunCommand(driver, settings, line.substr(start));
    if (!error.empty()) return "line " + std::to_string(number) + ": " + error;
  }
  return "";
}
