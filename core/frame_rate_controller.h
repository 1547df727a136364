// FrameRateController: measures each frame, caps the rate (every frame lasts strictly longer than
// 1/63 s), supplies `dt` to every time-dependent update, keeps once-per-second statistics, and
// holds the per-frame profile entries that Core fills. Free functions over global state.
//
// `dt` is the length of the previous frame, wait included; the first frame sees 0. It is not
// clamped here: the rigid body clamps its own copy.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace platform {
class Clock;
}

namespace FrameRateController {

void StartFrame();
// Seconds since the frame start; also sets the section mark.
double MarkFrameStart();
// Seconds since the section mark; moves the mark to now.
double Lap();
void Record(const std::string& name, double seconds);
// Waits out the cap, updates the statistics and clears the profile entries.
void EndFrame();

double GetDT();
std::string BuildStatsText();

int GetFPS();
double GetAverageFrameTime();
double GetActualFrameTime();
const std::vector<std::pair<std::string, double>>& GetProfileEntries();

// The clock the controller reads; the desktop default is the sleeping steady clock. Replacing it
// resets every statistic, so a headless run starts from frame zero.
void UseClock(std::unique_ptr<platform::Clock> clock);

}  // namespace FrameRateController
