// The eight user-defined glyphs held in the controller's character generator.
#ifndef LCD_CUSTOM_CHARS_H
#define LCD_CUSTOM_CHARS_H

#include <cstdint>

// Hosts number glyphs 1 to 8. Other numbers are not rejected: their
// instruction byte is sent as computed, since hosts may rely on it.
void DefineGlyph(uint8_t glyph, const uint8_t* glyph_rows);
uint8_t GlyphCharacterCode(uint8_t glyph);

#endif  // LCD_CUSTOM_CHARS_H
