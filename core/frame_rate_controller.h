// FrameRateController: the game's clock. It measures each drawn frame, says how many fixed
// simulation steps that frame owes, caps the drawing rate (a fast frame waits until the next step
// is due), keeps once-per-second statistics, and holds the per-frame profile entries that Core
// fills. Free functions over global state.
//
// The simulation advances only in steps of GetDT() (the game's frame length, 1/63 s, unless a test
// or tool chooses another), so the same input gives the same game on any machine: a slow frame
// runs several steps, a fast one none. A frame runs at most kMaxStepsPerFrame steps; time owed
// beyond that is forgotten, so a machine that cannot keep up plays slower instead of falling ever
// further behind. The very first frame runs one step, so that every system has run once before
// any data is loaded.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace timing {
class Clock;
}

namespace FrameRateController {

// The game's frame length: the simulation's step, and the shortest frame drawn.
inline constexpr double kGameFrameTime = 1.0 / 63.0;
inline constexpr int kMaxStepsPerFrame = 5;

// How drawn frames are paced; Core sets it from the window before every frame.
//  - The display waits (vertical sync): a present already waits for the display's refresh, so a
//    frame never waits on the clock as well (only for half a refresh, against a display that
//    claims to wait and does not). A frame time within a fifth of a refresh of a whole number of
//    refreshes counts as exactly that many, so that drawn motion follows the display's grid rather
//    than the jitter of when a present returns; the difference is fed back a little each frame, so
//    a rate read slightly wrong (59.94 read as 60) never drifts from the clock.
//  - It does not: a frame lasts at least 1 / refreshRate from its start, or, with no rate known,
//    until the next step is due (the default).
void UsePacing(bool displayWaits, double refreshRate);

// Begins a drawn frame: measures the one that ended and works out StepsDue().
void StartFrame();
// Seconds since the frame start; also sets the section mark.
double MarkFrameStart();
// Seconds since the section mark; moves the mark to now.
double Lap();
// Adds to the profile entry `name` of this frame (a frame of several steps sums them).
void Record(const std::string& name, double seconds);
// Waits until the next step is due, updates the statistics and clears the profile entries.
void EndFrame();

// The simulation step in seconds: the time step of every time-dependent update.
double GetDT();
// How many simulation steps the current frame runs (0 to kMaxStepsPerFrame).
int StepsDue();
// How far the clock is ahead of the simulation after this frame's steps, in steps (0 to 1): where
// between the last two steps the drawn picture stands.
double StepFraction();
// Length of the previous drawn frame, wait included; 0 in the first frame.
double GetFrameTime();

std::string BuildStatsText();
// Drawn frames and simulation steps in the last whole second.
int GetFPS();
int GetStepsPerSecond();
double GetAverageFrameTime();
double GetActualFrameTime();
const std::vector<std::pair<std::string, double>>& GetProfileEntries();

// The clock the controller reads; the desktop default is the sleeping steady clock. Replacing it
// resets every statistic and the time owed, so a headless run starts from frame zero; the step
// stays, and the pacing returns to the default.
void UseClock(std::unique_ptr<timing::Clock> clock);
// The simulation step (default kGameFrameTime). Tests of figures worked at 1/60 s choose that.
void UseStep(double seconds);

}  // namespace FrameRateController
