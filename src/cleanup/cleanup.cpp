#include "cleanup/cleanup.h"

// Being written.
void CleanSelectedFiles(Tool&) {}
void TickAllRows(Tool&) {}
