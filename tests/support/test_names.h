#ifndef TESTS_SUPPORT_TEST_NAMES_H
#define TESTS_SUPPORT_TEST_NAMES_H

#include <cctype>
#include <string>

// What DISPLAYDLL_DriverName and a successful DISPLAYDLL_Init return.
inline constexpr char kDriverName[] = "HD66712 Display v" HD66712_VERSION;

// A readable parameterised-test name made from a case's text.
inline std::string TestNameFrom(const std::string& text) {
  std::string name;
  for (char c : text) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name.empty() ? "empty" : name;
}

#endif  // TESTS_SUPPORT_TEST_NAMES_H
