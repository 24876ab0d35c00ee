// Reading users' text files a piece at a time: limits that stop what never
// ends, encodings, and line ends split across the pieces a file is read in.
#include "text_lines.h"

#include <gtest/gtest.h>

#include <fstream>

#include "scratch_directory.h"

namespace {

struct Read {
  std::vector<std::string> lines;  // "N:text"
  Problem problem;
};

Read Split(const std::string& text, size_t longest = 8, uint64_t largest = 64) {
  Read read;
  read.problem =
      SplitLines(text, {longest, largest, "script"}, [&read](const std::string& line, int number) {
        read.lines.push_back(std::to_string(number) + ":" + line);
        return true;
      });
  return read;
}

TEST(TextLinesTest, LimitsAndEncodings) {
  const struct {
    std::string text;
    std::vector<std::string> lines;
    Problem problem;
  } cases[] = {
      {"12345678\n", {"1:12345678"}, std::nullopt},
      {"ok\n123456789\n",
       {"1:ok"},
       "line 2 goes on past 8 bytes without a line end; no script line is that long"},
      {std::string(65, '\n'), std::vector<std::string>{},
       "the script goes on past 64 bytes; no script is that long"},
      {"\xEF\xBB\xBFinit\n", {"1:init"}, std::nullopt},
      {std::string("i\0n\0", 4),
       {},
       "the script is UTF-16 (\"Unicode\" in Notepad): save it as UTF-8 or ANSI"},
      {std::string("\0i\0n", 4),
       {},
       "the script is UTF-16 (\"Unicode\" in Notepad): save it as UTF-8 or ANSI"},
      // Zeros alone are binary, not UTF-16: the line grows past the limit.
      {std::string(9, '\0'),
       {},
       "line 1 goes on past 8 bytes without a line end; no script line is that long"},
  };
  for (const auto& expected : cases) {
    const Read read = Split(expected.text);
    EXPECT_EQ(read.problem, expected.problem) << expected.text;
    EXPECT_EQ(read.lines, expected.lines) << expected.text;
  }
}

// A file is read 64 KiB at a time: a CR LF or a run of CRs across that
// boundary is still one line end, and the sink may stop the reading.
TEST(TextLinesTest, FilesReadInPiecesEndLinesAsATextDoes) {
  const ScratchDirectory scratch;
  const size_t piece = 64 * 1024;
  const std::string texts[] = {
      std::string(piece - 1, 'a') + "\r\nb\r\rc",
      std::string(piece - 2, 'a') + "\r\r\r\nb\r\rc",
      std::string(piece - 1, 'a') + "\rb\r\rc",
  };
  const std::vector<std::vector<int>> sizes = {
      {65535, 1, 0, 1}, {65534, 1, 0, 1}, {65535, 1, 0, 1}};
  for (size_t i = 0; i < 3; ++i) {
    std::ofstream("text", std::ios::binary) << texts[i];
    std::vector<int> seen;
    EXPECT_EQ(ReadFileLines("text", {piece, UINT64_MAX, "log"},
                            [&seen](const std::string& line, int) {
                              seen.push_back(static_cast<int>(line.size()));
                              return true;
                            }),
              std::nullopt);
    EXPECT_EQ(seen, sizes[i]) << i;
  }
  int calls = 0;
  EXPECT_EQ(ReadFileLines("text", {piece, UINT64_MAX, "log"},
                          [&calls](const std::string&, int) { return ++calls < 2; }),
            std::nullopt);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(ReadFileLines("missing", {piece, UINT64_MAX, "log"},
                          [](const std::string&, int) { return true; }),
            "cannot read missing: No such file or directory");
}

}  // namespace
