// Hud: the lines of text the game shows over play, through ScreenText: the star counter (this
// level's stars found of those placed, and the game's total), a short notice when a sound switch
// flips, a longer warning when the saved progress could not be read, the ending's hints (a key
// hurries its stars, then goes on), the final screen's tally, and, when the settings ask for it,
// the timer: the time played in this level and in the whole run, counted in simulation steps so
// that it is the same on every machine (the pause menu stops it). A level's time as its goal is
// reached, and a whole run's as it reaches the final screen, go to the progress as best times; a
// run is whole when it began on the first level from the title screens and went on in order.
// The UISystem feeds it the messages and steps it once per frame.
#pragma once

#include <cstdint>
#include <string>

class Hud {
public:
    static constexpr const char* kStarsOwner = "hud.stars";
    static constexpr const char* kNoticeOwner = "hud.notice";
    static constexpr const char* kEndingOwner = "hud.ending";
    static constexpr const char* kWarningOwner = "hud.warning";
    static constexpr const char* kTimerOwner = "hud.timer";
    static constexpr double kNoticeShown = 2.0;
    // Long enough to read two lines twice.
    static constexpr double kWarningShown = 8.0;

    Hud();
    ~Hud();
    Hud(const Hud&) = delete;
    Hud& operator=(const Hud&) = delete;

    void LevelStarted(std::int32_t level);
    // "Music off", "Sound on"...
    void Notice(std::string text);
    // Shown for kWarningShown seconds, over every level until then.
    void Warn(std::string text);
    bool WarningGiven() const { return warningGiven_; }
    // Whether a warning was given and has had its time on screen.
    bool WarningRead() const { return warningGiven_ && warningLeft_ <= 0.0; }
    void Update(double dt);
    // The player chose the next level from the level select: the run is not a whole one, and its
    // time starts again.
    void LevelChosen();
    // A debug key skipped or ended a level: neither the run nor this level's time counts.
    void RunBroken();
    bool WholeRun() const { return wholeRun_; }
    // One simulation step played (not paused) in the current level.
    void CountStep();
    std::int64_t LevelSteps() const { return levelSteps_; }
    std::int64_t RunSteps() const { return runSteps_; }
    // "m:ss.cc" for a count of steps.
    static std::string Clock(std::int64_t steps);

private:
    void UpdateStars(std::int32_t level);
    void UpdateEnding(std::int32_t level);
    void UpdateTimer();
    void UpdateGoal();

    std::int32_t level_ = -1;
    // Stars brought into the ending: the final screen's tally.
    std::int32_t starsAtEnding_ = -1;
    std::int32_t starsInGame_ = -1;
    std::size_t objectsCounted_ = 0;
    std::int32_t starsPlaced_ = 0;
    std::string shownStars_;
    std::string endingHint_;
    double noticeLeft_ = 0.0;
    bool warningGiven_ = false;
    double warningLeft_ = 0.0;
    std::int64_t levelSteps_ = 0;
    std::int64_t runSteps_ = 0;
    std::string shownTimer_;
    bool goalReported_ = false;
    bool replay_ = false;
    bool wholeRun_ = false;
    bool levelChosen_ = false;
    // The time of the whole run that reached the final screen; -1 when it was not whole.
    std::int64_t finishedRun_ = -1;
};
