// Hud: the lines of text the game shows over play, through ScreenText: the star counter (this
// level's stars found of those placed, and the game's total), a short notice when a sound switch
// flips, the ending's hints (a key hurries its stars, then goes on), and the final screen's tally.
// The UISystem feeds it the messages and steps it once per frame.
#pragma once

#include <cstdint>
#include <string>

class Hud {
public:
    static constexpr const char* kStarsOwner = "hud.stars";
    static constexpr const char* kNoticeOwner = "hud.notice";
    static constexpr const char* kEndingOwner = "hud.ending";
    static constexpr double kNoticeShown = 2.0;

    Hud();
    ~Hud();
    Hud(const Hud&) = delete;
    Hud& operator=(const Hud&) = delete;

    void LevelStarted(std::int32_t level);
    // "Music off", "Sound on"...
    void Notice(std::string text);
    void Update(double dt);

private:
    void UpdateStars(std::int32_t level);
    void UpdateEnding(std::int32_t level);

    std::int32_t level_ = -1;
    // Stars brought into the ending: the final screen's tally.
    std::int32_t starsAtEnding_ = -1;
    std::int32_t starsInGame_ = -1;
    std::size_t objectsCounted_ = 0;
    std::int32_t starsPlaced_ = 0;
    std::string shownStars_;
    std::string endingHint_;
    double noticeLeft_ = 0.0;
};
