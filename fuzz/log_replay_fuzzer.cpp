// Driver logs as users send them: several runs appended, any line ends, lines
// broken by texts that hold line feeds, lines cut or pasted together. Every
// readable "WriteC" or "WriteD" line is one byte: either replayed on the
// virtual module or, after a failed start, counted as never sent.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include "fuzz_checks.h"
#include "log_replay.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "HH:MM:SS dd/mm/yy WriteC : " or "... WriteD : " at the start of `line`.
bool IsByteLine(const std::string& line) {
  constexpr char kStamp[] = "99:99:99 99/99/99 ";
  if (line.size() < 27) return false;
  for (size_t i = 0; i < 18; ++i) {
    if (kStamp[i] == '9' ? !IsDigit(line[i]) : line[i] != kStamp[i]) return false;
  }
  return line.compare(18, 9, "WriteC : ") == 0 || line.compare(18, 9, "WriteD : ") == 0;
}

// Lines end at LF, CR LF or a lone CR, as an editor shows them; a UTF-8
// byte order mark is no part of the first line.
int64_t ByteLines(std::string log) {
  if (log.starts_with("\xEF\xBB\xBF")) log.erase(0, 3);
  int64_t count = 0;
  size_t start = 0;
  while (start <= log.size()) {
    size_t end = log.find_first_of("\r\n", start);
    if (end == std::string::npos) end = log.size();
    if (IsByteLine(log.substr(start, end - start))) ++count;
    start = end + 1;
  }
  return count;
}

// The log replayed as lcd_host replays a user's: read from a file, here one
// in memory, rewritten for each input.
Replay ReplayText(const std::string& log, const vlcd::Module& module) {
  static const int file = memfd_create("log_replay_fuzzer", 0);
  Replay replay;
  if (file < 0 || ftruncate(file, 0) != 0 ||
      pwrite(file, log.data(), log.size(), 0) != static_cast<ssize_t>(log.size())) {
    __builtin_trap();
  }
  if (const Problem problem =
          ReplayLogFile("/proc/self/fd/" + std::to_string(file), module, {}, &replay)) {
    replay.warnings.push_back(*problem);
  }
  return replay;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string log(reinterpret_cast<const char*>(data), size);
  vlcd::Module module;
  module.chip = vlcd::Chip::HD44780;
  const Replay replay = ReplayText(log, module);
  // UTF-16 text is refused whole.
  if (!replay.warnings.empty() && replay.warnings[0].find("UTF-16") != std::string::npos) {
    FUZZ_CHECK(replay.sessions.empty(), "a refused log replays nothing");
    return 0;
  }
  int64_t accounted = 0;
  for (const ReplayedSession& session : replay.sessions) {
    FUZZ_CHECK(session.first_line >= 1 && session.last_line >= session.first_line,
               "a session spans its lines");
    // A function set with DL=0 makes the module take each later byte as a
    // 4-bit transfer, two to a byte, as a real one would.
    accounted += session.lcd.traffic.instructions + session.lcd.traffic.data_bytes +
                 session.lcd.traffic.first_nibbles + session.unsent_bytes;
    FUZZ_CHECK(session.lcd.findings.violations.empty(),
               "replayed bytes keep the controller's timing");
  }
  FUZZ_CHECK(replay.unreadable.size() <= 10, "unreadable lines are listed up to ten");
  int64_t without_a_byte = 0;
  for (const std::string& problem : replay.unreadable) {
    if (problem.find("without a byte") != std::string::npos) ++without_a_byte;
  }
  // Past ten, unreadable lines are only counted, so byte lines without a
  // byte can no longer be told from the rest.
  if (replay.more_unreadable == 0) {
    FUZZ_CHECK(accounted == ByteLines(log) - without_a_byte,
               "every readable byte line is one byte, replayed or unsent");
  } else {
    FUZZ_CHECK(accounted <= ByteLines(log), "no byte is replayed that no line holds");
  }
  FUZZ_CHECK(replay.warnings.size() <= 1, "the order warning is given once");
  return 0;
}
