#pragma once
// What every handler works on: the platform's file system, the window, the
// shared state and the findings list.

#include <chrono>

#include "shell/file_system.h"
#include "shell/result_list.h"
#include "shell/shared_state.h"
#include "shell/view.h"
#include "text/text.h"

struct Tool {
  FileSystem& fileSystem;
  View& view;
  SharedState& state;
  ResultList& results;
  Text programFolder;  // the executable's folder, without a trailing "\"
  // How often a running scan lets the window process its messages.
  std::chrono::milliseconds pumpInterval{5};
};

// The program folder of an executable path: everything before its last "\"
// ("C:" for a program in the root of drive C). Double-byte characters are
// stepped over, so a trail byte 0x5C is never taken for a separator.
Text ProgramFolderOf(const Text& executablePath);
