#include "character_rom.h"

#include <initializer_list>

#include "character_rom_tables.h"

namespace vlcd {

namespace {

constexpr std::array<uint8_t, kCellHeight> kUndrawn = {0x1F, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1F, 0};

using RomIndex = std::array<const RomGlyph*, 256>;

RomIndex IndexOf(std::initializer_list<std::span<const RomGlyph>> tables) {
  RomIndex index{};
  for (std::span<const RomGlyph> table : tables) {
    for (const RomGlyph& glyph : table) index[glyph.code] = &glyph;
  }
  return index;
}

const RomGlyph* Find(CharacterRom rom, uint8_t code) {
  static const RomIndex a00 = IndexOf({kA00AsciiGlyphs, kA00Glyphs});
  static const RomIndex a02 = IndexOf({kA02Glyphs});
  return (rom == CharacterRom::A02 ? a02 : a00)[code];
}

std::array<uint8_t, kCellHeight> Decode(const char* rows) {
  std::array<uint8_t, kCellHeight> pattern{};
  int row = 0;
  for (const char* c = rows; *c != '\0' && row < kCellHeight; ++c) {
    if (*c == ' ') {
      ++row;
    } else {
      pattern[row] = static_cast<uint8_t>((pattern[row] << 1) | (*c == '#' ? 1 : 0));
    }
  }
  return pattern;
}

}  // namespace

std::array<uint8_t, kCellHeight> RomPattern(CharacterRom rom, uint8_t code) {
  const RomGlyph* glyph = Find(rom, code);
  return glyph == nullptr ? kUndrawn : Decode(glyph->rows);
}

std::string RomCharacter(CharacterRom rom, uint8_t code) {
  const RomGlyph* glyph = Find(rom, code);
  return glyph == nullptr ? "·" : glyph->character;
}

}  // namespace vlcd
