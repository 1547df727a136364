// Clocks for the frame loop. The engine reads time in double-precision seconds on a monotonic
// clock and waits for a frame's end through WaitPast, which returns only once Now() is strictly
// greater than the deadline.
//
// Three kinds, and a cap for any of them:
//  - steady: the desktop clock; sleeps for all but a short margin of a wait, then spins, so an
//    idle game hardly uses a core yet frames still end precisely. The margin is learnt from how
//    late the sleeps usually wake (within 0.05 to 2 ms);
//  - spinning: the same clock but waits by spinning only (kept to measure what sleeping saves);
//  - fixed-step: time moves only when a frame waits, by exactly one step whatever the deadline, so
//    headless runs, tests and tools see the same frame lengths every time;
//  - capped: another clock whose waits also last until `shortestFrame` after the previous wait
//    ended, so that the game draws no faster than a slow machine would (a test aid).
#pragma once

#include <memory>

namespace timing {

class Clock {
public:
    virtual ~Clock() = default;
    virtual double Now() = 0;
    virtual void WaitPast(double deadline) = 0;
};

std::unique_ptr<Clock> MakeSteadyClock();
std::unique_ptr<Clock> MakeSpinningClock();
// `step` in seconds; each wait advances the time by exactly one step.
std::unique_ptr<Clock> MakeFixedStepClock(double step);
std::unique_ptr<Clock> MakeCappedClock(std::unique_ptr<Clock> clock, double shortestFrame);

}  // namespace timing
