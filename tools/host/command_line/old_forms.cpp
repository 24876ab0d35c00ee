#include "old_forms.h"

namespace {

// Each old mode flag, the subcommand it is now, and whether it took a value,
// which is now the subcommand's argument. --script is a mode only where no
// other mode flag is given (the real-port run still takes it as an option).
struct OldFlag {
  const char* flag;
  const char* subcommand;
  const char* value;  // what the value is, for a flag that takes one
};
constexpr OldFlag kModeFlags[] = {
    {"--replay", "replay", "LOG"},
    {"--check-port", "check-port", nullptr},
    {"--wiring-walk", "wiring-walk", nullptr},
    {"--write-real-port", "real-port", nullptr},
    {"--test-pattern", "test-pattern", nullptr},
};
constexpr OldFlag kScriptFlag = {"--script", "script", "FILE"};

// Where `flag` is among `arguments` (as "--flag" or "--flag=value"), or -1.
int Find(const std::vector<std::string>& arguments, const std::string& flag) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == flag || arguments[i].rfind(flag + "=", 0) == 0) return static_cast<int>(i);
  }
  return -1;
}

// Takes the flag at `at` (and its value) out of `rest`; the subcommand and
// the value become the new form's start.
void Take(const OldFlag& old, size_t at, std::vector<std::string>* rest, NewForm* form) {
  form->arguments = {old.subcommand};
  const std::string& given = (*rest)[at];
  size_t taken = 1;
  if (old.value != nullptr) {
    if (given.size() > std::string(old.flag).size()) {
      form->arguments.push_back(given.substr(std::string(old.flag).size() + 1));
    } else if (at + 1 < rest->size()) {
      form->arguments.push_back((*rest)[at + 1]);
      taken = 2;
    }
  }
  rest->erase(rest->begin() + static_cast<long>(at), rest->begin() + static_cast<long>(at + taken));
}

}  // namespace

Problem ToNewForm(const std::vector<std::string>& arguments, NewForm* form) {
  *form = NewForm{arguments, "", ""};
  if (arguments.empty()) {
    form->arguments = {"demo"};
    return std::nullopt;
  }
  const std::string& first = arguments.front();
  if (first == "--help" || first == "-h") return std::nullopt;
  // A first word that is no option is a mode, or one misspelled, left for
  // the parser to name.
  if (first.empty() || first[0] != '-') return std::nullopt;
  std::vector<std::string> rest = arguments;
  const OldFlag* chosen = nullptr;
  int at = -1;
  for (const OldFlag& old : kModeFlags) {
    const int found = Find(rest, old.flag);
    if (found < 0) continue;
    if (chosen != nullptr) {
      return std::string(chosen->flag) + " and " + old.flag + " are two modes: give one";
    }
    chosen = &old;
    at = found;
  }
  const int script = Find(rest, kScriptFlag.flag);
  if (chosen == nullptr && script >= 0) {
    chosen = &kScriptFlag;
    at = script;
  }
  NewForm rewritten;
  if (chosen != nullptr) {
    Take(*chosen, static_cast<size_t>(at), &rest, &rewritten);
    const std::string value = chosen->value != nullptr ? std::string(" ") + chosen->value : "";
    rewritten.old_mode = chosen->flag + value;
    rewritten.new_mode = chosen->subcommand + value;
  } else {
    rewritten.arguments = {"demo"};
    rewritten.new_mode = "demo";
  }
  rewritten.arguments.insert(rewritten.arguments.end(), rest.begin(), rest.end());
  *form = rewritten;
  return std::nullopt;
}

std::string NewFormNote(const NewForm& form) {
  const std::string old_form = form.old_mode.empty() ? "" : " " + form.old_mode;
  return "from this version on a mode is a subcommand: \"lcd_host" + old_form +
         " ...\" is written \"lcd_host " + form.new_mode +
         " ...\" (lcd_host --help); the old form works in this version only";
}
