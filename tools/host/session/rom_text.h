// Which codes of a module's character ROM show a UTF-8 character that a
// script holds, so that a hint can name them: the character's own code, a
// look-alike's (the micro sign for Greek mu), or for full-width katakana
// the half-width forms the Japanese ROM carries, a voicing mark apart.
#ifndef HOST_ROM_TEXT_H
#define HOST_ROM_TEXT_H

#include <string>

#include "character_rom.h"

// The codes, as bytes; empty when the ROM has no such character.
std::string RomCodesFor(vlcd::CharacterRom rom, const std::string& character);

#endif  // HOST_ROM_TEXT_H
