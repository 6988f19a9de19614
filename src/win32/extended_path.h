#pragma once
// The boundary between the core's ANSI paths and the wide Win32 functions.
//
// The wide functions take a "\\?\" path verbatim: no trailing dot or space
// is stripped and there is no 260-character limit, so the call acts on
// exactly the file that a listing named (a plain "C:\P\A.NPK." would reach
// "C:\P\A.NPK").

#include <string>
#include <string_view>

#include "text/text.h"

// Converts a path from the ANSI code page into its "\\?\" form: made
// absolute against the current directory when it has no drive, "/" read as
// "\", runs of separators collapsed (on the wide text, so a double-byte
// character whose trail byte is 0x5C is never taken for one), "." and ".."
// folders resolved, and a UNC path "\\server\share\..." given the
// "\\?\UNC\" form. A path that is already "\\?\" or "\\.\" is kept as it is.
// False when the path is empty, holds bytes that are not valid in the ANSI
// code page, or holds a character that no file name may contain (NUL,
// controls, * ? " < > |, or a ":" past the drive), so a wildcard or a
// truncated name can never reach some other file.
bool ToExtendedPath(const Text& path, std::wstring* extended);

// Converts a wide file name into the ANSI code page. A character that the
// code page cannot hold exactly becomes "?", which no file name contains:
// the result then names no file at all, never a different one (no best-fit
// mapping of "Ā" onto "A").
Text AnsiNameFromWide(std::wstring_view wide);
