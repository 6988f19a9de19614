#pragma once
// Conversions at the window's boundary: the tool's own texts are UTF-8,
// names of files and folders are ANSI bytes (the system's code page), and
// every control takes UTF-16.

#include <string>
#include <string_view>

#include "text/text.h"
#include "text/ui_texts.h"

std::wstring WideFromUtf8(UiText text);

// ANSI bytes through CP_ACP, as the system itself would show them.
std::wstring WideFromAnsi(std::string_view text);

// The ANSI form of `text` through CP_ACP. False (and `ansi` empty) when some
// character has no form in the code page: such a path would name another
// file, or none.
bool AnsiFromWide(std::wstring_view text, Text* ansi);
