// The entries that act on the display. A missing pointer from the host
// sends nothing rather than taking the host down.
#include "displaydll.h"
#include "lcd/custom_chars.h"
#include "lcd/power_up.h"
#include "lcd/text_output.h"

extern "C" {

void DISPLAYDLL_CALL DISPLAYDLL_PowerResume(void) { PowerUp(); }

void DISPLAYDLL_CALL DISPLAYDLL_SetPosition(uint8_t column, uint8_t row) {
  SetCursorPosition(column, row);
}

void DISPLAYDLL_CALL DISPLAYDLL_Write(const char* text) {
  if (text != nullptr) WriteText(text);
}

void DISPLAYDLL_CALL DISPLAYDLL_CustomChar(uint8_t glyph, const uint8_t* glyph_rows) {
  if (glyph_rows != nullptr) DefineGlyph(glyph, glyph_rows);
}

uint8_t DISPLAYDLL_CALL DISPLAYDLL_CustomCharIndex(uint8_t glyph) {
  return GlyphCharacterCode(glyph);
}

}  // extern "C"
