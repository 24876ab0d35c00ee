// What the tools' checks and steps return: nothing when all went well, or
// what went wrong, in words for the user. Read as
//   if (const Problem problem = Step()) return *problem;
#ifndef COMMON_PROBLEM_H
#define COMMON_PROBLEM_H

#include <optional>
#include <string>

using Problem = std::optional<std::string>;

#endif  // COMMON_PROBLEM_H
