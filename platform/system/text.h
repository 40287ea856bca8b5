#pragma once
// Upper-casing of 8-bit ANSI text (Windows-1252), and the code of the
// program's terminal.

#include <array>
#include <string>
#include <string_view>

namespace tv::sys {

// The system's locale-aware conversion.
std::string AnsiUpperCase(std::string_view text);

// Windows-1252 upper-casing of one byte, as the system converts it. The POSIX
// build converts with this table; the Windows build's tests check that the
// system agrees with it.
unsigned char Cp1252Upper(unsigned char c);

// The system's conversion of every byte value, for converting many bytes
// without a system call each. Windows-1252 converts byte by byte, so this
// agrees with AnsiUpperCase.
using TUpperTable = std::array<unsigned char, 256>;
TUpperTable AnsiUpperTable();

// Whether text printed to standard output is read as UTF-8: on POSIX the
// locale the environment names for characters (LC_ALL, else LC_CTYPE, else
// LANG) is a UTF-8 one; on Windows the console's output code page is UTF-8.
// Asked without changing the process's locale, which the upper-casing uses.
bool OutputTakesUtf8();

}  // namespace tv::sys
