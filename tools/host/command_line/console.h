// lcd_host's side of the terminal: UTF-8 on a Windows console, and what a
// loaded driver prints on standard output, kept apart from lcd_host's own
// lines.
#ifndef HOST_CONSOLE_H
#define HOST_CONSOLE_H

#include <cstdio>
#include <functional>
#include <string>

// Switches a Windows console to UTF-8, so the screen's frame and block
// characters show as drawn. Returns false when standard output is a console
// that cannot be switched; true elsewhere (files and pipes take the bytes).
bool ShowUtf8OnConsole();

// Runs calls with standard output going to a scratch file, and hands back
// what each printed. A driver's message without a line end then cannot run
// into the next line lcd_host prints. Where no scratch file can be made the
// calls run as they are and nothing is captured.
class StdoutCapture {
 public:
  StdoutCapture();
  ~StdoutCapture();
  StdoutCapture(const StdoutCapture&) = delete;
  StdoutCapture& operator=(const StdoutCapture&) = delete;

  std::string Run(const std::function<void()>& call);

 private:
  std::FILE* sink_ = nullptr;
};

#endif  // HOST_CONSOLE_H
