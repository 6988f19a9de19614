#pragma once
// Texts of the system: raw bytes in the ANSI code page of the running system
// (file and folder names, paths, names read from package.lst and Skip_Npk.ini).
// They are compared byte for byte and positions count bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using Text = std::string;

// Joins two texts with one "\" always inserted between them, with no
// normalisation: JoinPath("C:\\", "A") is "C:\\\\A".
Text JoinPath(std::string_view left, std::string_view right);

// Two upper-case hexadecimal digits per byte, first byte first, no separators:
// the bytes 00 0F A0 give "000FA0"; no bytes give the empty text.
Text HexText(std::string_view bytes);

// The first position at or after `from` where `needle` starts, stepping over
// double-byte characters: a byte of 0x80 or above is taken together with the
// byte after it, so no match can begin at the second byte of such a
// character. `from` must be a character boundary. Returns npos when absent.
std::size_t FindStepping(std::string_view text, std::string_view needle, std::size_t from = 0);

// Letter case ignored for the ASCII letters only (digest and size texts).
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
