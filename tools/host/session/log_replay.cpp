#include "log_replay.h"

#include <cctype>

#include "hd66712_log_format.h"
#include "module_settings.h"
#include "number_text.h"
#include "text_lines.h"

const char kInitFailureMessages[] =
    "\"LoadLibrary for parallel port Failed\" or \"GetProcAddress for <library>/<entry> Failed\"";

namespace {

// Replayed bytes are spaced far beyond any busy time, so the timing checker
// judges nothing the log cannot tell.
constexpr int64_t kWriteSpacingNs = 1000000;
// The stamp and the space after it.
constexpr size_t kStampLength = hd66712_log::kStampLength + 1;
// The driver's lines are short; a host's text may be a screenful. A stretch
// this long with no log line in it is not a driver log.
constexpr LineLimits kLogLimits = {64 * 1024, UINT64_MAX, "driver log"};
constexpr uint64_t kMostBytesWithoutALogLine = 1024 * 1024;
constexpr size_t kUnreadableShown = 10;

bool HasStamp(const std::string& line) {
  constexpr char kShape[] = "99:99:99 99/99/99 ";
  if (line.size() < kStampLength) return false;
  for (size_t i = 0; i < kStampLength; ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(line[i])) != 0;
    if (kShape[i] == '9' ? !digit : line[i] != kShape[i]) return false;
  }
  return true;
}

// "HH:MM:SS dd/mm/yy" as "yymmddHHMMSS", which sorts as time does (within
// a century).
std::string SortableStamp(const std::string& line) {
  return line.substr(15, 2) + line.substr(12, 2) + line.substr(9, 2) + line.substr(0, 2) +
         line.substr(3, 2) + line.substr(6, 2);
}

// The byte of an instruction's or data byte's text (kByteFormat). A byte 0 ends
// the text right after the quote, and a line feed byte breaks the line.
bool ByteOf(const std::string& text, uint8_t* byte) {
  const size_t at = text.find(" (0x");
  if (at == std::string::npos || at + 7 > text.size() || text[at + 6] != ')') return false;
  long value = 0;
  if (vlcd::ParseNumber(text.substr(at + 4, 2), vlcd::NumberForm::Hexadecimal, 0, 0xFF, &value)) {
    return false;
  }
  *byte = static_cast<uint8_t>(value);
  return true;
}

// Events whose text is the host's own, which may hold line feeds: the lines
// after them without a time stamp are the rest of that text.
bool CarriesHostText(const std::string& name) {
  return name == hd66712_log::kWrite || name == hd66712_log::kParameters;
}

// What reading a log carries from one line to the next.
struct Reading {
  int64_t now = 0;
  bool line_feed_byte = false;    // the last byte was a line feed: "'" follows alone
  bool host_text = false;         // lines without a stamp continue the host's text
  bool library_loaded = false;    // in this session
  bool bytes_in_session = false;  // the module can no longer take the log's size
  std::string latest_stamp;
  int latest_stamp_line = 0;
  int last_log_line = 0;
  uint64_t bytes_since_log_line = 0;
};

void Unreadable(Replay& replay, int number, const std::string& why) {
  if (replay.unreadable.size() < kUnreadableShown) {
    replay.unreadable.push_back("line " + std::to_string(number) + ": " + why);
  } else {
    ++replay.more_unreadable;
  }
}

// A number the driver printed with %d after `label` in `text`, or -1.
long NumberAfter(const std::string& text, const std::string& label, long high) {
  const size_t at = text.find(label);
  if (at == std::string::npos) return -1;
  const size_t start = at + label.size();
  const size_t end = text.find_first_not_of("0123456789", start);
  long value = -1;
  if (vlcd::ParseNumber(text.substr(start, end - start), vlcd::NumberForm::Decimal, 0, high,
                        &value)) {
    return -1;
  }
  return value;
}

// Init's "Display width=16, height=2" and "port=0x378, Chip type=1" give
// the module the session was set up for, as long as nothing was sent yet.
void TakeModuleFromInit(const std::string& text, FromTheLog from_log, const Reading& reading,
                        ReplayedSession& session) {
  if (reading.bytes_in_session) return;
  vlcd::Module module = session.lcd.module;
  const long width = NumberAfter(text, hd66712_log::kWidthLabel, vlcd::kMaxSize);
  const long height = NumberAfter(text, hd66712_log::kHeightLabel, vlcd::kMaxSize);
  const long chip = NumberAfter(text, hd66712_log::kChipLabel, 1);
  const bool columns = from_log.columns && width >= 0;
  const bool rows = from_log.rows && height >= 0;
  const bool chip_taken = from_log.chip && chip >= 0;
  if (columns) module.columns = static_cast<int>(width);
  if (rows) module.rows = static_cast<int>(height);
  if (chip_taken) module.chip = chip == 1 ? vlcd::Chip::HD44780 : vlcd::Chip::HD66712;
  if (!columns && !rows && !chip_taken) return;
  session.lcd = vlcd::MakeVirtualLcd(module);
  session.lcd.findings.record_bytes = from_log.record_bytes;
  // The size and the chip are on lines of their own.
  const std::string size = columns && rows ? "size" : columns ? "columns" : rows ? "rows" : "";
  if (!size.empty()) session.from_log = size + (session.from_log.empty() ? "" : " and chip");
  if (chip_taken) session.from_log += session.from_log.empty() ? "chip" : " and chip";
}

// Warns, once, of a line stamped earlier than one before it.
void CheckOrder(const std::string& line, int number, Reading& reading, Replay& replay) {
  const std::string stamp = SortableStamp(line);
  if (stamp < reading.latest_stamp && replay.warnings.empty()) {
    replay.warnings.push_back(
        "line " + std::to_string(number) + ": its time stamp is earlier than line " +
        std::to_string(reading.latest_stamp_line) +
        "'s: the log is out of order (two runs mixed, or pasted together?). The replay takes "
        "the lines in the file's order, since stamps a second apart cannot order them, so its "
        "screens may not be what the module showed");
  }
  if (stamp >= reading.latest_stamp) {
    reading.latest_stamp = stamp;
    reading.latest_stamp_line = number;
  }
}

// One event of a session: its opening, Init's outcome, Done, or a byte
// sent (or, without a port library, only logged).
void ReplayEvent(const std::string& name, const std::string& text, int number,
                 const vlcd::Module& module, FromTheLog from_log, Reading& reading,
                 Replay& replay) {
  if (name == hd66712_log::kOpened || replay.sessions.empty()) {
    ReplayedSession session;
    session.first_line = number;
    session.lcd = vlcd::MakeVirtualLcd(module);
    session.lcd.findings.record_bytes = from_log.record_bytes;
    replay.sessions.push_back(session);
    reading.library_loaded = false;
    reading.bytes_in_session = false;
  }
  ReplayedSession& session = replay.sessions.back();
  session.last_line = number;
  if (name == hd66712_log::kInit) {
    TakeModuleFromInit(text, from_log, reading, session);
    if (text.ends_with(hd66712_log::kLoadedEnding) && text != hd66712_log::kLoadedEnding) {
      reading.library_loaded = true;
    }
    session.init_failed = !reading.library_loaded;
  }
  if (name == hd66712_log::kDone) {
    session.shut_down = true;
    session.before_shut_down = vlcd::ScreenNow(session.lcd);
  }
  if (name != hd66712_log::kInstruction && name != hd66712_log::kData) return;
  uint8_t byte = 0;
  if (!ByteOf(text, &byte)) {
    Unreadable(replay, number, name + " without a byte in it");
    return;
  }
  // Either breaks the line it is logged on, as an editor reads it.
  reading.line_feed_byte = byte == '\n' || byte == '\r';
  reading.bytes_in_session = true;
  if (session.init_failed) {
    ++session.unsent_bytes;
    return;
  }
  const bool four_bit = session.lcd.controller.four_bit;
  reading.now = vlcd::ClockInByte(session.lcd, name == hd66712_log::kData, byte, reading.now,
                                  kWriteSpacingNs);
  if (!four_bit && session.lcd.controller.four_bit && session.four_bit_line == 0) {
    session.four_bit_line = number;
  }
}

// One line of the log; false once the log has stopped looking like one.
bool ReplayLine(const std::string& line, int number, const vlcd::Module& module,
                FromTheLog from_log, Reading& reading, Replay& replay) {
  // The rest of a line-feed byte's text: "'" on a line of its own.
  if (reading.line_feed_byte && line == "'") {
    reading.line_feed_byte = false;
    return true;
  }
  reading.line_feed_byte = false;
  const size_t separator = line.find(hd66712_log::kSeparator, kStampLength);
  if (!HasStamp(line) || separator == std::string::npos) {
    if (!line.empty() && !reading.host_text) Unreadable(replay, number, "not a log line");
    reading.bytes_since_log_line += line.size() + 1;
    if (reading.bytes_since_log_line <= kMostBytesWithoutALogLine) return true;
    replay.warnings.push_back("lines " + std::to_string(reading.last_log_line + 1) + "-" +
                              std::to_string(number) +
                              ": a megabyte without a driver log line, so the rest of the file "
                              "is not read (is it a driver log?)");
    return false;
  }
  reading.last_log_line = number;
  reading.bytes_since_log_line = 0;
  CheckOrder(line, number, reading, replay);
  const std::string name = line.substr(kStampLength, separator - kStampLength);
  reading.host_text = CarriesHostText(name);
  ReplayEvent(name, line.substr(separator + sizeof hd66712_log::kSeparator - 1), number, module,
              from_log, reading, replay);
  return true;
}

}  // namespace

Problem ReplayLogFile(const std::string& path, const vlcd::Module& module, FromTheLog from_log,
                      Replay* replay) {
  *replay = Replay{};
  Reading reading;
  const Problem problem = ReadFileLines(path, kLogLimits, [&](const std::string& line, int number) {
    return ReplayLine(line, number, module, from_log, reading, *replay);
  });
  // A log cut short by a line too long still replays up to it; a file that
  // cannot be read, or is not 8-bit text, does not.
  if (problem && replay->sessions.empty()) return problem;
  if (problem) replay->warnings.push_back(*problem);
  return std::nullopt;
}
