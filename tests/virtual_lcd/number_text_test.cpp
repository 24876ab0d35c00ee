// Numbers as users write them in options, variables and scripts: read
// strictly, a leading zero never taken for octal, a port address in
// hexadecimal after 0x.
#include "number_text.h"

#include <gtest/gtest.h>

namespace {

using vlcd::NumberForm;

struct NumberCase {
  const char* text;
  NumberForm form;
  long high;
  long value;         // when accepted
  const char* error;  // "" when accepted
};

TEST(NumberTextTest, NumbersAreReadStrictly) {
  const NumberCase cases[] = {
      {"20", NumberForm::Decimal, 255, 20, ""},
      {"0", NumberForm::Decimal, 255, 0, ""},
      {"255", NumberForm::Decimal, 255, 255, ""},
      {"256", NumberForm::Decimal, 255, 0, "'256' is out of range (0 to 255)"},
      {"99999999999999999999", NumberForm::Decimal, 255, 0,
       "'99999999999999999999' is out of range (0 to 255)"},
      {"-1", NumberForm::Decimal, 255, 0, "'-1' is not a decimal number"},
      {"abc", NumberForm::Decimal, 255, 0, "'abc' is not a decimal number"},
      {"4x", NumberForm::Decimal, 255, 0, "'4x' is not a decimal number"},
      {"7a", NumberForm::Decimal, 255, 0, "'7a' is not a decimal number"},
      {"05", NumberForm::Decimal, 255, 0,
       "'05' starts with 0, which some tools read as octal: leave the 0 out"},
      {" 4", NumberForm::Decimal, 255, 0, "' 4' is not a decimal number"},
      {"", NumberForm::Decimal, 255, 0, "'' is not a decimal number"},
      {"010", NumberForm::Decimal, 255, 0,
       "'010' starts with 0, which some tools read as octal: leave the 0 out"},
      {"0x14", NumberForm::Decimal, 255, 0, "'0x14' is not a decimal number"},
      // Quoted up to a line's worth, and never cut inside a character.
      {"99999999999999999999999999999999999999999999999999999999\xC3\xA9"
       "99999999999999999999",
       NumberForm::Decimal, 255, 0,
       "'99999999999999999999999999999999999999999999999999999999...' is not a decimal number"},
      {"0x3bc", NumberForm::Address, 0xFFFF, 0x3BC, ""},
      {"0xFFFF", NumberForm::Address, 0xFFFF, 0xFFFF, ""},
      // Leading zeros after 0x are hexadecimal still, as /proc writes them.
      {"0x0378", NumberForm::Address, 0xFFFF, 0x378, ""},
      {"0x00D010", NumberForm::Address, 0xFFFF, 0xD010, ""},
      {"0E", NumberForm::Hexadecimal, 0xFF, 0x0E, ""},
      {"888", NumberForm::Address, 0xFFFF, 888, ""},
      {"0x10000", NumberForm::Address, 0xFFFF, 0, "'0x10000' is out of range (0 to 65535)"},
      {"0x", NumberForm::Address, 0xFFFF, 0,
       "'0x' is not a decimal number or 0x and hexadecimal digits"},
      {"0X3BC", NumberForm::Address, 0xFFFF, 0,
       "'0X3BC' is not a decimal number or 0x and hexadecimal digits"},
      {"0378", NumberForm::Address, 0xFFFF, 0,
       "'0378' starts with 0, which some tools read as octal: leave the 0 out or write 0x for "
       "hexadecimal"},
  };
  for (const NumberCase& c : cases) {
    long value = -7;
    EXPECT_EQ(vlcd::ParseNumber(c.text, c.form, 0, c.high, &value).value_or(""), c.error) << c.text;
    EXPECT_EQ(value, *c.error == '\0' ? c.value : -7) << c.text;
  }
}

}  // namespace
