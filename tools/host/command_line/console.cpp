#include "console.h"

#include "console_seam.h"

StdoutCapture::StdoutCapture() : sink_(std::tmpfile()) {}

StdoutCapture::~StdoutCapture() {
  if (sink_ != nullptr) std::fclose(sink_);
}

std::string StdoutCapture::Run(const std::function<void()>& call) {
  std::fflush(stdout);
  const int saved = sink_ != nullptr ? RedirectStdoutTo(sink_) : -1;
  if (saved < 0) {
    call();
    return "";
  }
  call();
  std::fflush(stdout);
  RestoreStdout(saved);
  std::string printed;
  std::rewind(sink_);
  char block[256];
  for (size_t got; (got = std::fread(block, 1, sizeof block, sink_)) > 0;) {
    printed.append(block, got);
  }
  std::rewind(sink_);
  return printed;
}
