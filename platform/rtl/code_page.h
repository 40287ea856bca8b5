#pragma once
// Windows-1252, the code page of the plug-in's texts and its stored forms'
// 8-bit strings, against Unicode, and UTF-8 in and out.

#include <cstdint>
#include <string>
#include <string_view>

namespace tv {

// The character of a Windows-1252 byte. The five bytes without one (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) stand for the code point of the same number, as
// the system converts them.
std::uint32_t Cp1252ToUnicode(unsigned char byte);
// The byte of a character, or -1 where Windows-1252 has none.
int UnicodeToCp1252(std::uint32_t codePoint);

void AppendUtf8(std::string& out, std::uint32_t codePoint);
// A code point beyond U+FFFF as its two surrogates, any other as one unit.
void AppendUtf16(std::u16string& out, std::uint32_t codePoint);
// The code points of UTF-8 text, in order; false for bytes that are no
// UTF-8 (a cut sequence, a stray continuation byte, an overlong form, a
// surrogate, beyond U+10FFFF).
bool DecodeUtf8(std::string_view utf8, std::u32string& codePoints);

// Windows-1252 text as UTF-8 and back; false when the UTF-8 text holds a
// character the code page lacks, or is no UTF-8.
std::string AnsiToUtf8(std::string_view ansi);
bool Utf8ToAnsi(std::string_view utf8, std::string& ansi);

}  // namespace tv
