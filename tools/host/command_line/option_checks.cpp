#include "option_checks.h"

CLI::Validator NumberCheck(vlcd::NumberForm form, long high) {
  return CLI::Validator(
      [form, high](std::string& text) {
        long value = 0;
        const Problem problem = vlcd::ParseNumber(text, form, 0, high, &value);
        if (!problem) text = std::to_string(value);
        return problem.value_or("");
      },
      "");
}

const CLI::Validator& ExistingFileCheck() {
  static const CLI::Validator check = CLI::Validator(CLI::ExistingFile).description("");
  return check;
}

const CLI::Validator& NotEmptyCheck() {
  static const CLI::Validator check(
      [](std::string& text) { return text.empty() ? "an empty path names no file" : ""; }, "");
  return check;
}
