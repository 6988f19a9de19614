#include "shell/tool.h"

Text ProgramFolderOf(const Text& executablePath) {
  std::size_t last = Text::npos;
  for (std::size_t at = FindStepping(executablePath, "\\"); at != Text::npos;
       at = FindStepping(executablePath, "\\", at + 1)) {
    last = at;
  }
  return last == Text::npos ? Text() : executablePath.substr(0, last);
}
