#pragma once
// The scan: lists one pack folder, classifies every file against the
// folder's record of package.lst and the skip list, and fills the findings.

#include "shell/tool.h"

enum class Verdict { Official = 0, Unlisted = 1, SizeMismatch = 2, DigestMismatch = 3 };

// 按钮_开始扫描: loads the skip names of the chosen pack folder and scans it.
void StartScan(Tool& tool);

// Puts the controls into the Scanning state, scans ImagePacks2 (choice 1) or
// SoundPacks (choice 2), and returns them to Idle.
void RunScan(Tool& tool, int choice);

// Scans one pack folder. False when package.lst has no record of it (or the
// record could not be read); true when the scan ran to its end.
bool ScanDirectory(Tool& tool, const Text& folder);
