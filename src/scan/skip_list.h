#pragma once
// Skip_Npk.ini: the user's list of pack files to accept as they are, one
// section per pack folder, one "name=anything" line per file.

#include <vector>

#include "shell/file_system.h"
#include "text/text.h"

// Appends the names of `section` of the file at `path` to `skipList`, in
// file order, duplicates kept. Nothing is appended when the file is missing,
// unreadable or has no such section.
void LoadSkipList(FileSystem& fs, const Text& path, const Text& section, std::vector<Text>* skipList);

// The path of the skip list beside the program.
Text SkipListPath(const Text& programFolder);
