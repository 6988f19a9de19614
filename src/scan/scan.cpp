#include "scan/scan.h"

// Being written.
void StartScan(Tool&) {}
void RunScan(Tool&, int) {}
bool ScanDirectory(Tool&, const Text&) { return false; }
