#pragma once
// The state shared by every handler, created once at start and released once
// at the end.

#include <memory>
#include <vector>

#include "packagelist/package_catalogue.h"
#include "text/text.h"

struct SharedState {
  Text gameDirectory;    // empty: no game root chosen
  Text backupDirectory;  // empty: no backup folder chosen
  PackageCatalogue catalogue;
  std::vector<Text> skipList;
  bool scanRunning = false;
  bool windowClosing = false;  // set once the window began to close
};

std::unique_ptr<SharedState> CreateSharedState();

// Releases the state in its declared order. Runs once: a second call on the
// same (now empty) pointer does nothing.
void ReleaseSharedState(std::unique_ptr<SharedState>& state);
