// LevelManager: the level sequencer. Turns ChangeLevel requests into level loads, restarts,
// editor modes and quitting, and starts each level. Free functions over global state; Core calls
// Update() after every system and before graphics.
#pragma once

#include <cstdint>
#include <string>

namespace LevelManager {

void Update();
std::int32_t GetCurrentLevel();
void StartLevel(const std::string& name);
// Back to the state at program start; for tests and tools that run many engines in one process.
void Reset();

}  // namespace LevelManager
