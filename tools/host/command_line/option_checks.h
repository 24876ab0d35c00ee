// Checks the option library runs on option values as it reads them, for
// the options every mode's file adds: a bad value is named and refused
// before anything runs.
#ifndef HOST_OPTION_CHECKS_H
#define HOST_OPTION_CHECKS_H

#include <CLI/CLI.hpp>

#include "module_settings.h"
#include "number_text.h"

// A whole number, read strictly, handed on in decimal.
CLI::Validator NumberCheck(vlcd::NumberForm form, long high);

// A file that exists, and a path that is not empty; the type name alone
// says what a value is, so they add nothing to --help.
const CLI::Validator& ExistingFileCheck();
const CLI::Validator& NotEmptyCheck();

#endif  // HOST_OPTION_CHECKS_H
