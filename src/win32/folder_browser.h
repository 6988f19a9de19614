#pragma once
// The shell's folder browser over the whole namespace.

#include <windows.h>

#include "text/text.h"
#include "text/ui_texts.h"

// Shows the browser with `prompt` above the tree and a field for a typed
// name; only folders can be chosen. Its owner is the active window; every
// top-level window of this thread is disabled while it is open and gets its
// earlier state back afterwards, as do the foreground and active windows.
// The chosen folder's path in ANSI bytes (no trailing "\" except for a drive
// root); the empty text when cancelled, when the item has no file-system
// path, or when the path has no exact ANSI form. COM must be initialised on
// the thread.
Text BrowseForFolder(UiText prompt);
