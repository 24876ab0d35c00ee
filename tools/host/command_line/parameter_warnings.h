// What lcd_host says of driver parameters that the driver reads otherwise
// than a user writing them meant: the driver takes them as they are, so a
// run goes on after a warning, or, where a port is driven, is refused.
#ifndef HOST_PARAMETER_WARNINGS_H
#define HOST_PARAMETER_WARNINGS_H

#include <string>
#include <vector>

#include "problem.h"

// A log asked for anywhere but where the driver looks, a port it does not
// know by that name, a chip after something other than a comma.
std::vector<std::string> ParameterWarnings(const std::string& parameters);

// A port written with 0x but not as hexadecimal digits up to the comma,
// which drives another port than meant.
Problem PortTypo(const std::string& parameters);

// A chip name the driver will not recognise.
Problem ChipWordUnread(const std::string& parameters);

#endif  // HOST_PARAMETER_WARNINGS_H
