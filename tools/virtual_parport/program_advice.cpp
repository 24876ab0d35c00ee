#include "program_advice.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <cstring>

namespace vparport {

namespace {

// ppdev's character devices, /dev/parportN.
constexpr unsigned kPpdevMajor = 99;

bool StartsWith(const std::string& text, const char* start) {
  return text.compare(0, std::strlen(start), start) == 0;
}

std::string Joined(const std::vector<std::string>& items) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) {
    text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
  }
  return text;
}

}  // namespace

bool LooksLikeParallelPort(const std::string& path) {
  return StartsWith(path, "/dev/parport") || StartsWith(path, "/dev/lp") || path == "/dev/port";
}

Problem DevicePathProblem(const std::string& device) {
  struct stat status {};
  if (stat(device.c_str(), &status) != 0) return std::nullopt;
  if (S_ISCHR(status.st_mode) && major(status.st_rdev) == kPpdevMajor) return std::nullopt;
  return "HD_VLCD_PARPORT names " + device +
         ", which exists and is not a parallel port, so nothing is simulated and the program "
         "keeps its own use of it. Name the port the program opens, such as /dev/parport0 (it "
         "need not exist)";
}

std::string NeverOpenedAdvice(const std::string& device, const std::vector<std::string>& opened,
                              const std::vector<std::string>& direct_ports) {
  if (opened.empty() && direct_ports.empty()) return "";
  std::string advice = "The program never opened " + device +
                       " (HD_VLCD_PARPORT), so the virtual LCD saw nothing of it.";
  if (!opened.empty()) {
    advice += " It opened " + Joined(opened) + ", which " + (opened.size() == 1 ? "is" : "are") +
              " the system's, not the virtual LCD: set HD_VLCD_PARPORT=" + opened.front() +
              ", or set the program's port to " + device + ".";
  }
  if (!direct_ports.empty()) {
    advice += " It asked for the I/O ports themselves (" + Joined(direct_ports) +
              "), which bypasses the system's parallel-port driver and cannot be simulated: "
              "set the program to reach the port through " +
              device + " (ppdev) instead.";
  }
  return advice;
}

}  // namespace vparport
