// BestRuns: the player's fastest way through each level, kept to be watched again.
//
// While a level (2..20) is played, every step in which its simulation advances adds one record of
// the controls the gameplay read in it: controller 0's record, and the keyboard's gameplay keys
// as pad buttons (KeyboardAsPad). A restart or a fall starts the attempt again. When the goal is
// reached the attempt, up to and including the step that reached it, becomes the level's best run
// if it took fewer steps than the kept one (or none is kept, or the kept one cannot be read). No
// attempt is recorded while a recording plays back or a best run is watched.
//
// A best run is "<user folder>/BestRuns/level<N>.input" (nothing is kept without a user folder),
// in the recordings' 16-byte format (input/input_recording.h), one record a step, replaced
// atomically. The keyboard drives the character otherwise than the pad does (a harder standing
// start, another form switch, a push down the pad has no button for), so the keyboard's part
// must be replayed as keys: it goes in the record's packet-number field, which nothing in the
// game reads, as the translated buttons in the low half under a tag in the high half. The pad's
// own buttons stay as read. A file that is empty, not whole records, untagged or too long is
// damaged: one line names it, and it counts as no best run.
//
// Watching a best run loads its level and, step by step, puts the record's pad part on pad 0
// and its keys on the keyboard in place of the player's (the real pad's Start, Back and B and the
// keyboard's other keys still reach the menus), with a "Replay" label on screen. When the records
// run out the goal must have been reached on exactly the last one; if not, the level changed
// since, and the screen says so. Either way the game then goes back where Watch was called from
// (or where SetReturn says), with the stars as they were.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "input/input_recording.h"

namespace BestRuns {

using Run = std::vector<platform::ControllerState>;

// The tag of a best run's packet-number field, above the keyboard's buttons.
inline constexpr std::uint32_t kTag = 0x56520000u;
// Half an hour of steps: a longer attempt is not kept, a longer file is damaged.
inline constexpr std::size_t kMostSteps = 63 * 60 * 30;
inline constexpr const char* kMismatch = "This replay no longer matches this version of the level";
inline constexpr const char* kLabelOwner = "bestruns.label";

// The keyboard's gameplay keys this step as the pad buttons they stand for: Left/A DPadLeft,
// Right/D DPadRight, Down/S DPadDown (held); Up/W A and Space X (pressed this step).
std::uint16_t KeyboardAsPad();

// "<user>/BestRuns/level<level>.input"; empty without a user folder.
std::filesystem::path FileOf(int level);
// The kept best run; none when there is no file, and none after one line when it is damaged.
std::optional<Run> Load(int level);
bool Has(int level);
// Keeps `run` as the level's best when it is shorter than the kept one, or nothing readable is
// kept. True when it was written.
bool Offer(int level, const Run& run);

// Starts watching the level's best run: false (nothing changes) when there is none.
bool Watch(int level);
// Watch from the game's start, on the level itself, and quit when it ends (VORL_WATCH_LEVEL).
bool WatchAtLaunch(int level);
bool IsWatching();
// Ends a watch and goes back; nothing when none runs.
void StopWatching();
// Where the game goes when a watch ends; by default the level it was called from.
void SetReturn(std::function<void()> goBack);

enum class Outcome { None, Matched, NoLongerMatches, Stopped };
// How the last watch ended (None while it runs or before any).
Outcome LastOutcome();

// Once per simulation step, after the window's events and before the game logic: `simulating`
// says whether the level's simulation advances in this step.
void Step(bool simulating);
// Forgets every attempt and watch (tests, a new engine).
void Reset();

}  // namespace BestRuns
