#include "output_files.h"

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr const char* kExtensions[] = {".txt", ".png"};

// A path that cannot be resolved is compared as written.
fs::path Resolved(const fs::path& path) {
  std::error_code ignored;
  const fs::path absolute = fs::absolute(path, ignored);
  const fs::path resolved = fs::weakly_canonical(absolute.empty() ? path : absolute, ignored);
  return resolved.empty() ? path : resolved;
}

bool IsOutputName(const std::string& name, const std::string& stem) {
  for (const char* extension : kExtensions) {
    const std::string tail = extension;
    if (name.size() <= tail.size() ||
        name.compare(name.size() - tail.size(), tail.size(), tail) != 0) {
      continue;
    }
    const std::string base = name.substr(0, name.size() - tail.size());
    if (base == stem) return true;
    // A numbered snapshot: stem, '-', digits.
    if (base.size() > stem.size() + 1 && base.compare(0, stem.size(), stem) == 0 &&
        base[stem.size()] == '-' &&
        base.find_first_not_of("0123456789", stem.size() + 1) == std::string::npos) {
      return true;
    }
  }
  return false;
}

}  // namespace

Problem CheckOutputAgainstInputs(const std::string& prefix,
                                 const std::vector<std::string>& inputs) {
  const fs::path output = Resolved(fs::path(prefix));
  const std::string stem = output.filename().string();
  for (const std::string& input : inputs) {
    if (input.empty()) continue;
    const fs::path read = Resolved(fs::path(input));
    if (read.parent_path() == output.parent_path() &&
        IsOutputName(read.filename().string(), stem)) {
      return "'" + prefix + "' would overwrite " + input + " (screens are saved as " + prefix +
             ".txt, .png and numbered snapshots " + prefix + "-1.txt, ...)";
    }
  }
  return std::nullopt;
}

std::string NumberedPrefix(const std::string& prefix, int number) {
  return prefix + "-" + std::to_string(number);
}
