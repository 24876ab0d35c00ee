#include "number_text.h"

#include <charconv>
#include <string_view>

namespace vlcd {

std::string Excerpt(const std::string& text) {
  constexpr size_t kLongest = 60;
  if (text.size() <= kLongest) return text;
  size_t cut = kLongest - 3;
  // Not inside a UTF-8 character: back to the byte that starts it.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut) + "...";
}

Problem ParseNumber(const std::string& text, NumberForm form, long low, long high, long* value) {
  const bool prefixed = form == NumberForm::Address && text.starts_with("0x");
  const bool hex = prefixed || form == NumberForm::Hexadecimal;
  const std::string_view digits = std::string_view(text).substr(prefixed ? 2 : 0);
  const char* expected = form == NumberForm::Address
                             ? "a decimal number or 0x and hexadecimal digits"
                         : form == NumberForm::Hexadecimal ? "hexadecimal digits"
                                                           : "a decimal number";
  // from_chars would take a sign; a number here never has one.
  if (digits.empty() || digits[0] == '-' || digits[0] == '+') {
    return "'" + Excerpt(text) + "' is not " + expected;
  }
  // Some tools read a leading zero as octal, others not: refuse to guess.
  if (!hex && digits.size() > 1 && digits[0] == '0' &&
      digits.find_first_not_of("0123456789") == std::string_view::npos) {
    return "'" + Excerpt(text) +
           "' starts with 0, which some tools read as octal: leave the 0 out" +
           (form == NumberForm::Address ? " or write 0x for hexadecimal" : "");
  }
  long number = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, number, hex ? 16 : 10);
  if (stop != end) return "'" + Excerpt(text) + "' is not " + expected;
  if (error == std::errc::result_out_of_range || number < low || number > high) {
    return "'" + Excerpt(text) + "' is out of range (" + std::to_string(low) + " to " +
           std::to_string(high) + ")";
  }
  *value = number;
  return std::nullopt;
}

}  // namespace vlcd
