#include "shell/shared_state.h"

std::unique_ptr<SharedState> CreateSharedState() { return std::make_unique<SharedState>(); }

void ReleaseSharedState(std::unique_ptr<SharedState>& state) {
  if (!state) return;
  state->gameDirectory.clear();
  state->backupDirectory.clear();
  state->catalogue.Clear();
  state->skipList.clear();
  state.reset();
}
