// LevelManager: the level sequencer. Holds the current, requested and previous level; turns
// ChangeLevel requests into level loads, restarts, editor modes and quitting; starts each level.
// Free functions over global state; Core calls Update() once per simulation step (a frame below)
// after every system and before graphics.
//
// A level change requested in frame N: in N+1 the sequencer sends ClearLevel and LevelStarted; in
// N+2 the object system clears the old level and the sequencer loads the new level file; in N+3
// the systems take up the new components. Targets: 0..20 a level, 21 back to level 0 (quit while
// input is being recorded), 22 or negative restart the previous level, 23 level editor, 24
// archetype editor, 25 quit. Targets above 25, and a restart while an editor code is current
// (there is no level to restart), are ignored as a broken promise (VORL_CHECK): no sender makes
// them.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace LevelManager {

inline constexpr std::int32_t kLevelCount = 21;
inline constexpr std::int32_t kBackToFirstLevel = 21;
inline constexpr std::int32_t kRestart = 22;
inline constexpr std::int32_t kLevelEditor = 23;
inline constexpr std::int32_t kArchetypeEditor = 24;
inline constexpr std::int32_t kQuit = 25;
// The current level while a play-test runs a level file outside the table; never a request.
inline constexpr std::int32_t kPlayTest = 26;

// The level names by number; each is also the name of the level's data file.
const std::array<std::string, kLevelCount>& LevelTable();

void Update();
std::int32_t GetCurrentLevel();
// Resets the cameras, sends LevelStarted(name), stops the rumble.
void StartLevel(const std::string& name);

// Work of subsystems that the level sequence triggers. Each is empty until its owner installs it
// (the level reader the loading of a level file, the renderer the cameras, the input system the
// rumble and the recording switch, the editor its views); an empty hook does nothing
// (recordInput reads as false).
struct Hooks {
    std::function<void(const std::string& levelName)> loadLevel;
    std::function<void()> resetCameras;
    std::function<void()> stopRumble;
    std::function<bool()> recordInput;
    std::function<void()> setUpLevelEditorView;
    std::function<void()> setUpArchetypeEditorView;
};
Hooks& GetHooks();

// Starts the level file `name` as the player meets it, for the editor's play-test: a name of the
// table becomes that level; any other name runs as kPlayTest, which a restart reloads and any
// level request leaves.
void PlayTest(const std::string& name);

// Makes `level` (0..20) the level that starts when the archetypes are loaded; for tools that run
// from a chosen level. False (nothing changed) for a number outside the table.
bool SetStartLevel(std::int32_t level);

// Back to the state at program start (the hooks stay); for tests and tools that run many engines
// in one process.
void Reset();

}  // namespace LevelManager
