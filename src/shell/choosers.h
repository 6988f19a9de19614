#pragma once
// The window's own handlers: the two folder choosers and the exclusion of
// the two comparison options.

#include "shell/tool.h"

// 按钮_选择游戏目录: choose the game root and read its package.lst index.
void ChooseGameDirectory(Tool& tool);
// 按钮_备份目录: choose the backup folder and tick 选择框_备份到目录.
void ChooseBackupDirectory(Tool& tool);
// 选择框_大小对比 clicked: untick 选择框_哈希对比.
void OnSizeOptionClicked(Tool& tool);
// 选择框_哈希对比 clicked: untick 选择框_大小对比.
void OnDigestOptionClicked(Tool& tool);
