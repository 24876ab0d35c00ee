// The virtual module's settings from the HD_VLCD_* variables of a host that
// loads the port library without configuring it. A bad value is told to
// `complain`, once, and its default used; a variable set but empty is as
// if not set.
#ifndef VIRTUAL_LCD_MODULE_ENVIRONMENT_H
#define VIRTUAL_LCD_MODULE_ENVIRONMENT_H

#include <functional>
#include <string>
#include <string_view>

#include "module.h"
#include "problem.h"
#include "virtual_lcd.h"

using Complaint = std::function<void(const std::string&)>;

// A setting's variable: HD_VLCD_ and its name in capitals, a dash made an
// underscore (chip: HD_VLCD_CHIP).
std::string EnvironmentName(std::string_view setting);
// Every setting from its variable, and HD_VLCD_PORT.
vlcd::Module ModuleFromEnvironment(const Complaint& complain);
// Saves the screen the host last showed to HD_VLCD_OUTPUT, when set (a
// folder gets the default name in it), and when the module kept its bytes
// (HD_VLCD_TRACE=1) their trace beside it, as PREFIX-trace.txt; problems go
// to `complain`.
void SaveToOutputVariable(const vlcd::VirtualLcd& lcd, const Complaint& complain);
// Why the screen could not be saved to HD_VLCD_OUTPUT, if it could not,
// found before anything is drawn: "HD_VLCD_OUTPUT: " and the reason.
Problem OutputVariableProblem();
// A switch such as HD_VLCD_WINDOW or HD_VLCD_TRACE: 0 or 1.
bool FlagFromEnvironment(const char* name, bool by_default, const Complaint& complain);

#endif  // VIRTUAL_LCD_MODULE_ENVIRONMENT_H
