#include "script.h"

#include <algorithm>
#include <cstdio>

#include "character_rom.h"
#include "module_settings.h"
#include "number_text.h"
#include "rom_text.h"
#include "text_lines.h"

namespace {

using Kind = ScriptCommand::Kind;

struct CommandInfo {
  const char* name;
  Kind kind;
  const char* syntax;
  const char* help;  // lines after the first start with '\n'
  bool takes_arguments;
  bool needs_driver;  // sends bytes only between init and done
};

constexpr CommandInfo kCommands[] = {
    {"init", Kind::Init, "init", "DISPLAYDLL_Init with the size and --params", false, false},
    {"position", Kind::Position, "position X Y",
     "DISPLAYDLL_SetPosition, 0-255 each (1 1 is the top left)", true, true},
    {"write", Kind::Write, "write TEXT",
     "DISPLAYDLL_Write with the rest of the line; \\xHH is a byte\n(01-FF), \\gN glyph N's code "
     "(1-8), \\\\ a backslash",
     true, true},
    {"glyph", Kind::Glyph, "glyph N R0 .. R7",
     "DISPLAYDLL_CustomChar: N 0-255, eight rows of one or two\nhexadecimal digits", true, true},
    {"resume", Kind::Resume, "resume", "DISPLAYDLL_PowerResume", false, true},
    {"done", Kind::Done, "done", "DISPLAYDLL_Done", false, true},
    {"snapshot", Kind::Snapshot, "snapshot", "save the screen now, as PREFIX-1, PREFIX-2, ...",
     false, false},
    {"wait", Kind::Wait, "wait MS", "pause MS milliseconds (up to 60000)", true, false},
};

const CommandInfo& InfoFor(Kind kind) {
  for (const CommandInfo& info : kCommands) {
    if (info.kind == kind) return info;
  }
  return kCommands[0];
}

const CommandInfo* FindCommand(const std::string& name) {
  for (const CommandInfo& info : kCommands) {
    if (name == info.name) return &info;
  }
  return nullptr;
}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsScriptBlank(line[i])) ++i;
    const size_t start = i;
    while (i < line.size() && !IsScriptBlank(line[i])) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

Problem ParseByteNumber(const std::string& what, const std::string& word, uint8_t* value) {
  long number = 0;
  if (const Problem problem =
          vlcd::ParseNumber(word, vlcd::NumberForm::Decimal, 0, vlcd::kMaxSize, &number)) {
    return what + ": " + *problem;
  }
  *value = static_cast<uint8_t>(number);
  return std::nullopt;
}

// One or two hexadecimal digits, nothing else.
bool ParseRowByte(const std::string& word, uint8_t* value) {
  long number = 0;
  if (word.size() > 2 || vlcd::ParseNumber(word, vlcd::NumberForm::Hexadecimal, 0, 0xFF, &number)) {
    return false;
  }
  *value = static_cast<uint8_t>(number);
  return true;
}

Problem ParseArguments(const std::vector<std::string>& words, ScriptCommand* command) {
  const size_t arguments = words.size() - 1;
  switch (command->kind) {
    case Kind::Write: {
      std::string expanded;
      return ExpandText(nullptr, command->text, &expanded);
    }
    case Kind::Wait: {
      if (arguments != 1) return "wait takes a number of milliseconds, nothing else";
      if (const Problem problem = vlcd::ParseNumber(words[1], vlcd::NumberForm::Decimal, 0,
                                                    kMaxWaitMs, &command->wait_ms)) {
        return "wait: " + *problem;
      }
      return std::nullopt;
    }
    case Kind::Position: {
      if (arguments != 2) return "position takes a column and a row, nothing else";
      if (Problem problem = ParseByteNumber("position column", words[1], &command->x)) {
        return problem;
      }
      return ParseByteNumber("position row", words[2], &command->y);
    }
    case Kind::Glyph: {
      if (arguments != 9) return "glyph takes a number and eight hexadecimal rows, nothing else";
      if (Problem problem = ParseByteNumber("glyph number", words[1], &command->x)) return problem;
      for (size_t row = 0; row < 8; ++row) {
        if (!ParseRowByte(words[row + 2], &command->rows[row])) {
          return "glyph row " + std::to_string(row) + ": '" + words[row + 2] +
                 "' is not one or two hexadecimal digits";
        }
      }
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

Problem ParseLine(const std::string& line, ScriptCommand* command) {
  const std::vector<std::string> words = Words(line);
  const CommandInfo* info = FindCommand(words[0]);
  if (info == nullptr) {
    std::string names;
    for (const CommandInfo& known : kCommands)
      names += (names.empty() ? "" : ", ") + std::string(known.name);
    return "unknown command \"" + vlcd::Excerpt(words[0]) + "\"; a script's commands are " + names;
  }
  command->kind = info->kind;
  if (!info->takes_arguments && words.size() > 1) {
    return words[0] + " takes nothing after it, found \"" + words[1] + "\"";
  }
  // The text starts after "write" and the one blank that ends it.
  if (info->kind == Kind::Write) command->text = line.size() > 6 ? line.substr(6) : "";
  return ParseArguments(words, command);
}

// The length of the UTF-8 sequence of two or more bytes at `at`, or 0.
size_t Utf8SequenceAt(const std::string& text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const size_t length = lead >= 0xF0 && lead <= 0xF4   ? 4
                        : lead >= 0xE0 && lead <= 0xEF ? 3
                        : lead >= 0xC2 && lead <= 0xDF ? 2
                                                       : 0;
  if (length == 0 || at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

// "a", "a and b", "a, b and c".
std::string Listed(const std::vector<std::string>& items) {
  std::string list;
  for (size_t i = 0; i < items.size(); ++i) {
    list += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
  }
  return list;
}

// A module has no UTF-8: each byte of a character such as "°" shows as a
// character of the module's own ROM. Names every such character of the
// text, with its codes where the ROM has it.
Problem Utf8Warning(const std::string& text, vlcd::CharacterRom rom) {
  std::vector<std::string> characters;
  std::vector<std::string> instead;  // "\xDF for "°""
  std::vector<std::string> missing;
  for (size_t i = 0; i < text.size(); ++i) {
    const size_t length = Utf8SequenceAt(text, i);
    if (length == 0) continue;
    const std::string character = "\"" + text.substr(i, length) + "\"";
    i += length - 1;
    if (std::find(characters.begin(), characters.end(), character) != characters.end()) continue;
    characters.push_back(character);
    const std::string codes = RomCodesFor(rom, text.substr(i + 1 - length, length));
    if (codes.empty()) {
      missing.push_back(character);
      continue;
    }
    std::string escapes;
    for (const char code : codes) escapes += ByteEscape(static_cast<unsigned char>(code));
    instead.push_back(escapes + " for " + character);
  }
  if (characters.empty()) return std::nullopt;
  const std::string on_rom = std::string("character ROM ") + vlcd::RomName(rom);
  const std::string sent =
      characters.size() == 1
          ? " is UTF-8 text, sent as " + std::to_string(characters[0].size() - 2) + " bytes"
          : " are UTF-8 text, each sent as 2 or more bytes";
  std::string warning =
      Listed(characters) + sent + " that the module shows as characters of its own";
  if (!instead.empty()) warning += "; write " + Listed(instead) + " instead (" + on_rom + ")";
  if (!missing.empty()) {
    warning += "; " + Listed(missing) + (missing.size() == 1 ? " has" : " have") + " no code on " +
               on_rom + " (a glyph of your own can show " + (missing.size() == 1 ? "it" : "them") +
               ": glyph N, then \\gN)";
  }
  return warning;
}

void Warn(std::vector<std::string>* warnings, const std::string& warning) {
  if (warnings != nullptr) warnings->push_back(warning);
}

// What the commands so far have done to the driver, as far as a later
// command depends on it.
struct ScriptState {
  bool initialised = false;
  bool ever_initialised = false;
  // After a glyph the controller's address points into the glyph memory
  // until a position (or a new start) moves it back to the screen.
  bool address_in_glyphs = false;
};

// Refuses a command the driver cannot take yet, warns of one that does not
// do what it seems to, and follows what it does to the driver.
Problem FollowDriver(const ScriptCommand& command, vlcd::CharacterRom rom, ScriptState& state,
                     const std::string& where, std::vector<std::string>* warnings) {
  const CommandInfo& info = InfoFor(command.kind);
  if (info.needs_driver && !state.initialised) {
    return std::string(info.name) + (state.ever_initialised ? " after done" : " before init") +
           ": the driver sends nothing until DISPLAYDLL_Init (put an init line before it)";
  }
  if (command.kind == Kind::Init) state.initialised = state.ever_initialised = true;
  if (command.kind == Kind::Done) state.initialised = false;
  if (command.kind == Kind::Write) {
    if (const Problem utf8 = Utf8Warning(command.text, rom)) Warn(warnings, where + *utf8);
    if (state.address_in_glyphs) {
      Warn(warnings, where +
                         "write right after glyph, with no position between: the controller's "
                         "address still points into the glyph memory, so the text changes "
                         "glyphs instead of showing (put a position line before it)");
    }
  }
  if (command.kind == Kind::Glyph) state.address_in_glyphs = true;
  if (command.kind == Kind::Position || command.kind == Kind::Init ||
      command.kind == Kind::Resume || command.kind == Kind::Done) {
    state.address_in_glyphs = false;
  }
  return std::nullopt;
}

}  // namespace

std::string ByteEscape(int code) {
  char escape[16];
  std::snprintf(escape, sizeof escape, "\\x%02X", code);
  return escape;
}

bool IsScriptBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string ScriptHelp() {
  std::string help;
  for (const CommandInfo& info : kCommands) {
    char head[32];
    std::snprintf(head, sizeof head, "  %-21s", info.syntax);
    help += head;
    for (const char* c = info.help; *c != '\0'; ++c) {
      help += *c == '\n' ? "\n" + std::string(23, ' ') : std::string(1, *c);
    }
    help += '\n';
  }
  return help;
}

Problem ExpandText(const DriverEntries* driver, const std::string& text, std::string* expanded) {
  expanded->clear();
  expanded->reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      *expanded += text[i];
      continue;
    }
    const size_t left = text.size() - i - 1;
    const char escape = left > 0 ? text[i + 1] : '\0';
    if (left == 0) return "a lone \\ at the end of the text (write \\\\ for a backslash)";
    if (escape == '\\') {
      *expanded += '\\';
      i += 1;
    } else if (escape == 'x') {
      uint8_t value = 0;
      if (left < 3 || !ParseRowByte(text.substr(i + 2, 2), &value)) {
        return "\\x takes exactly two hexadecimal digits, as in \\x4B";
      }
      if (value == 0) return "\\x00 cannot be sent: the driver's text ends at its first 0 byte";
      *expanded += static_cast<char>(value);
      i += 3;
    } else if (escape == 'g') {
      if (left < 2 || text[i + 2] < '1' || text[i + 2] > '8') {
        return "\\g takes a glyph number from 1 to 8, as in \\g1";
      }
      const auto glyph = static_cast<uint8_t>(text[i + 2] - '0');
      *expanded += static_cast<char>(driver != nullptr ? driver->CustomCharIndex(glyph) : glyph);
      i += 2;
    } else {
      return std::string("unknown escape \\") + escape + " (use \\xHH, \\gN or \\\\)";
    }
  }
  return std::nullopt;
}

namespace {

// A session is a screenful of commands or a few thousand; a write's text
// may be long, but not longer than the driver could send in minutes.
constexpr LineLimits kScriptLimits = {1024 * 1024, 4 * 1024 * 1024, "script"};

// The commands of the lines `read` hands on, checked as they come.
Problem ParseLines(const std::function<Problem(const LineSink&)>& read,
                   std::vector<ScriptCommand>* commands, std::vector<std::string>* warnings,
                   vlcd::CharacterRom rom) {
  commands->clear();
  ScriptState state;
  Problem problem;
  const Problem unreadable = read([&](const std::string& line, int number) {
    const std::string where = "line " + std::to_string(number) + ": ";
    if (line.find('\0') != std::string::npos) {
      problem = where + "a NUL byte in the script (write \\xHH for a byte from 01 to FF)";
      return false;
    }
    size_t start = 0;
    while (start < line.size() && IsScriptBlank(line[start])) ++start;
    if (start == line.size() || line[start] == '#') return true;
    ScriptCommand command;
    command.line = number;
    command.source = line.substr(start);
    problem = ParseLine(command.source, &command);
    if (!problem) problem = FollowDriver(command, rom, state, where, warnings);
    if (problem) {
      *problem = where + *problem;
      return false;
    }
    commands->push_back(command);
    return true;
  });
  if (unreadable) return unreadable;
  if (problem) return problem;
  if (commands->empty()) {
    Warn(warnings, "the script holds no commands, so nothing is sent to the driver");
  } else if (!state.ever_initialised) {
    Warn(warnings, "the script has no init, so nothing is sent to the driver");
  }
  return std::nullopt;
}

}  // namespace

Problem ParseScript(const std::string& script, std::vector<ScriptCommand>* commands,
                    std::vector<std::string>* warnings, vlcd::CharacterRom rom) {
  return ParseLines(
      [&script](const LineSink& sink) { return SplitLines(script, kScriptLimits, sink); }, commands,
      warnings, rom);
}

Problem ParseScriptFile(const std::string& path, std::vector<ScriptCommand>* commands,
                        std::vector<std::string>* warnings, vlcd::CharacterRom rom) {
  return ParseLines(
      [&path](const LineSink& sink) { return ReadFileLines(path, kScriptLimits, sink); }, commands,
      warnings, rom);
}
