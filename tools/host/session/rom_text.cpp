#include "rom_text.h"

#include <cstdint>

namespace {

struct Spelling {
  const char* written;
  const char* on_rom;  // one character, or two
};

// Characters a keyboard gives that the ROMs draw under another code point:
// look-alikes (micro sign and Greek mu, the two middle dots), then
// full-width katakana and punctuation as the ROM's half-width forms
// (Unicode's compatibility mapping, read backwards).
constexpr Spelling kSpellings[] = {
    {"\u00B5", "\u03BC"},
    {"\u03BC", "\u00B5"},
    {"\u00B7", "\uFF65"},
    {"\uFF65", "\u00B7"},
    {"、", "､"},
    {"。", "｡"},
    {"「", "｢"},
    {"」", "｣"},
    {"゙", "ﾞ"},
    {"゚", "ﾟ"},
    {"ァ", "ｧ"},
    {"ア", "ｱ"},
    {"ィ", "ｨ"},
    {"イ", "ｲ"},
    {"ゥ", "ｩ"},
    {"ウ", "ｳ"},
    {"ェ", "ｪ"},
    {"エ", "ｴ"},
    {"ォ", "ｫ"},
    {"オ", "ｵ"},
    {"カ", "ｶ"},
    {"ガ", "ｶﾞ"},
    {"キ", "ｷ"},
    {"ギ", "ｷﾞ"},
    {"ク", "ｸ"},
    {"グ", "ｸﾞ"},
    {"ケ", "ｹ"},
    {"ゲ", "ｹﾞ"},
    {"コ", "ｺ"},
    {"ゴ", "ｺﾞ"},
    {"サ", "ｻ"},
    {"ザ", "ｻﾞ"},
    {"シ", "ｼ"},
    {"ジ", "ｼﾞ"},
    {"ス", "ｽ"},
    {"ズ", "ｽﾞ"},
    {"セ", "ｾ"},
    {"ゼ", "ｾﾞ"},
    {"ソ", "ｿ"},
    {"ゾ", "ｿﾞ"},
    {"タ", "ﾀ"},
    {"ダ", "ﾀﾞ"},
    {"チ", "ﾁ"},
    {"ヂ", "ﾁﾞ"},
    {"ッ", "ｯ"},
    {"ツ", "ﾂ"},
    {"ヅ", "ﾂﾞ"},
    {"テ", "ﾃ"},
    {"デ", "ﾃﾞ"},
    {"ト", "ﾄ"},
    {"ド", "ﾄﾞ"},
    {"ナ", "ﾅ"},
    {"ニ", "ﾆ"},
    {"ヌ", "ﾇ"},
    {"ネ", "ﾈ"},
    {"ノ", "ﾉ"},
    {"ハ", "ﾊ"},
    {"バ", "ﾊﾞ"},
    {"パ", "ﾊﾟ"},
    {"ヒ", "ﾋ"},
    {"ビ", "ﾋﾞ"},
    {"ピ", "ﾋﾟ"},
    {"フ", "ﾌ"},
    {"ブ", "ﾌﾞ"},
    {"プ", "ﾌﾟ"},
    {"ヘ", "ﾍ"},
    {"ベ", "ﾍﾞ"},
    {"ペ", "ﾍﾟ"},
    {"ホ", "ﾎ"},
    {"ボ", "ﾎﾞ"},
    {"ポ", "ﾎﾟ"},
    {"マ", "ﾏ"},
    {"ミ", "ﾐ"},
    {"ム", "ﾑ"},
    {"メ", "ﾒ"},
    {"モ", "ﾓ"},
    {"ャ", "ｬ"},
    {"ヤ", "ﾔ"},
    {"ュ", "ｭ"},
    {"ユ", "ﾕ"},
    {"ョ", "ｮ"},
    {"ヨ", "ﾖ"},
    {"ラ", "ﾗ"},
    {"リ", "ﾘ"},
    {"ル", "ﾙ"},
    {"レ", "ﾚ"},
    {"ロ", "ﾛ"},
    {"ワ", "ﾜ"},
    {"ヲ", "ｦ"},
    {"ン", "ﾝ"},
    {"ヴ", "ｳﾞ"},
    {"ヷ", "ﾜﾞ"},
    {"ヺ", "ｦﾞ"},
    {"・", "･"},
    {"ー", "ｰ"},
};

int RomCodeOf(vlcd::CharacterRom rom, const std::string& character) {
  for (int code = 0x10; code <= 0xFF; ++code) {
    if (vlcd::RomCharacter(rom, static_cast<uint8_t>(code)) == character) return code;
  }
  return -1;
}

// The codes of each character in `text` (UTF-8), or "" if one has none.
std::string CodesOfEach(vlcd::CharacterRom rom, const std::string& text) {
  std::string codes;
  for (size_t at = 0; at < text.size();) {
    size_t length = 1;
    while (at + length < text.size() &&
           (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80) {
      ++length;
    }
    const int code = RomCodeOf(rom, text.substr(at, length));
    if (code < 0) return "";
    codes += static_cast<char>(code);
    at += length;
  }
  return codes;
}

}  // namespace

std::string RomCodesFor(vlcd::CharacterRom rom, const std::string& character) {
  if (const int code = RomCodeOf(rom, character); code >= 0)
    return std::string(1, static_cast<char>(code));
  for (const Spelling& spelling : kSpellings) {
    if (character == spelling.written) return CodesOfEach(rom, spelling.on_rom);
  }
  return "";
}
