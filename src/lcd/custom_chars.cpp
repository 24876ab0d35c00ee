#include "lcd/custom_chars.h"

#include "lcd/controller_link.h"
#include "log/diag_log.h"

namespace {
constexpr int kGlyphRows = 8;
}  // namespace

void DefineGlyph(uint8_t glyph, const uint8_t* glyph_rows) {
  dp_logf("CustomChar", "%3d - 0x%2x 0x%2x 0x%2x 0x%2x 0x%2x 0x%2x 0x%2x 0x%2x", glyph,
          glyph_rows[0], glyph_rows[1], glyph_rows[2], glyph_rows[3], glyph_rows[4], glyph_rows[5],
          glyph_rows[6], glyph_rows[7]);
  // Glyph g lives at character-generator address 8 * (g - 1).
  WriteC((kSetCgramAddress + kGlyphRows * (glyph - 1)) & 0xFF);
  for (int row = 0; row < kGlyphRows; ++row) WriteD(glyph_rows[row]);
  // The controller's address stays in the character generator: text written
  // next lands there until the host positions the cursor again.
}

uint8_t GlyphCharacterCode(uint8_t glyph) {
  // Glyph 0 of the controller is shown through its alias 8, because code 0
  // would end the host's text.
  if (glyph == 1) return 8;
  return static_cast<uint8_t>(glyph - 1);
}
