// lcd_host's command line as it was before its modes were subcommands: a
// mode was a flag among the options, and no flag meant a session on the
// virtual LCD. Users' scripts and the guides of earlier versions write it
// so; it is rewritten into the subcommand form, and the new form said.
#ifndef HOST_OLD_FORMS_H
#define HOST_OLD_FORMS_H

#include <string>
#include <vector>

#include "problem.h"

struct NewForm {
  std::vector<std::string> arguments;  // the subcommand first
  // When the old form was given: the mode's part of it and of the new one,
  // "--replay LOG" and "replay LOG"; "" and "demo" for no mode flag.
  std::string old_mode;
  std::string new_mode;
};

// `arguments` (without the program's name) in the subcommand form: as they
// are when they start with a word that is no option, or ask for help. Says
// why not when they name two modes.
Problem ToNewForm(const std::vector<std::string>& arguments, NewForm* form);

// What to say of a rewritten form, once.
std::string NewFormNote(const NewForm& form);

#endif  // HOST_OLD_FORMS_H
