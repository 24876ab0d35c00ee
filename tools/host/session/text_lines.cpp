#include "text_lines.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";
constexpr size_t kChunk = 64 * 1024;

std::string Size(uint64_t bytes) {
  if (bytes % (1024 * 1024) == 0) return std::to_string(bytes / (1024 * 1024)) + " MiB";
  if (bytes % 1024 == 0) return std::to_string(bytes / 1024) + " KiB";
  return std::to_string(bytes) + " bytes";
}

// A byte order mark, or the zero high bytes of ASCII text in UTF-16 (a
// text that starts with two zero bytes is binary, not UTF-16).
bool LooksLikeUtf16(std::string_view start) {
  if (start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF")) return true;
  return start.size() >= 2 && (start[0] == '\0') != (start[1] == '\0');
}

// Fed the text in pieces of any size; hands each line on as it ends.
class Splitter {
 public:
  Splitter(const LineLimits& limits, const LineSink& sink) : limits_(limits), sink_(sink) {}

  // False once the sink has stopped or a limit was passed.
  bool Feed(std::string_view piece) {
    if (total_ == 0 && !piece.empty()) {
      if (LooksLikeUtf16(piece)) {
        return Refuse("the " + std::string(limits_.what) +
                      " is UTF-16 (\"Unicode\" in Notepad): save it as UTF-8 or ANSI");
      }
      if (piece.starts_with(kUtf8ByteOrderMark)) piece.remove_prefix(3);
    }
    total_ += piece.size();
    if (total_ > limits_.largest_text) {
      return Refuse("the " + std::string(limits_.what) + " goes on past " +
                    Size(limits_.largest_text) + "; no " + limits_.what + " is that long");
    }
    for (const char c : piece) {
      if (!Take(c)) return false;
    }
    return true;
  }

  // The last line, if it has no line end.
  void Finish() {
    if (problem_ || stopped_) return;
    if (!EndRun()) return;
    if (!line_.empty()) Emit();
  }

  Problem problem() const { return problem_; }

 private:
  bool Take(char c) {
    if (crs_ > 0) {
      if (c == '\r') {
        ++crs_;
        return true;
      }
      if (c == '\n') {
        crs_ = 0;
        return true;
      }
      if (!EndRun()) return false;
    }
    if (c == '\r') {
      crs_ = 1;
      return Emit();
    }
    if (c == '\n') return Emit();
    if (line_.size() == limits_.longest_line) {
      return Refuse("line " + std::to_string(number_ + 1) + " goes on past " +
                    Size(limits_.longest_line) + " without a line end; no " + limits_.what +
                    " line is that long");
    }
    line_ += c;
    return true;
  }

  // More CRs after the first: each one more line end, unless an LF follows.
  bool EndRun() {
    const int more = crs_ > 0 ? crs_ - 1 : 0;
    crs_ = 0;
    for (int i = 0; i < more; ++i) {
      if (!Emit()) return false;
    }
    return true;
  }

  bool Emit() {
    stopped_ = !sink_(line_, ++number_);
    line_.clear();
    return !stopped_;
  }

  bool Refuse(std::string problem) {
    problem_ = std::move(problem);
    return false;
  }

  const LineLimits& limits_;
  const LineSink& sink_;
  std::string line_;
  int crs_ = 0;  // after the first CR of a run; the first ended the line
  int number_ = 0;
  uint64_t total_ = 0;
  bool stopped_ = false;
  Problem problem_;
};

}  // namespace

Problem SplitLines(std::string_view text, const LineLimits& limits, const LineSink& sink) {
  Splitter splitter(limits, sink);
  if (splitter.Feed(text)) splitter.Finish();
  return splitter.problem();
}

Problem ReadFileLines(const std::string& path, const LineLimits& limits, const LineSink& sink) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return path + " is a folder, not a file";
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                             std::fclose);
  if (!file) return "cannot read " + path + ": " + std::strerror(errno);
  Splitter splitter(limits, sink);
  std::string piece(kChunk, '\0');
  for (;;) {
    const size_t read = std::fread(piece.data(), 1, piece.size(), file.get());
    if (read > 0 && !splitter.Feed(std::string_view(piece.data(), read))) break;
    if (read < piece.size()) {
      if (std::ferror(file.get())) return "cannot read " + path + ": " + std::strerror(errno);
      splitter.Finish();
      break;
    }
  }
  return splitter.problem();
}
