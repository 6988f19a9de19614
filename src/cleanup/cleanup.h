#pragma once
// Cleanup of the ticked findings, and Select all.

#include "shell/tool.h"

// 按钮_清理文件: deletes the files of the ticked rows, or moves them into the
// backup folder, and removes the rows of the files that were handled.
void CleanSelectedFiles(Tool& tool);

// 选择框_全选: ticks or unticks every row to match the box.
void TickAllRows(Tool& tool);
