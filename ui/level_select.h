// LevelSelect: the screen that lists every level the player has reached as a grid of name plates,
// each with the stars found there ("n / m") and the level's best time, and plays the one chosen.
// Under the grid stand "Watch best run" (only when a watcher is installed and the selected level
// has a best run to show) and "Back". It looks like the ListMenu: bars of the buttons' ink, the
// selected one in their hover fill, white text on them.
//
// Arrows and W A S D move over the grid and down to the bottom row; Return, Space, pad A or a
// click act; the D-pad and the left stick move too; pad B asks to go back. Escape is the owner's,
// as on the ListMenu. Input waits for the second frame the screen shows, so the press that opened
// it does not act on it too. The UISystem owns one, shows it from the title menu and the pause
// menu, and does what Update() answers.
//
// The bars are ordinary level objects (a level change or an editor destroys them with the rest);
// Forget() drops them without destroying, when that has happened.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class Object;
struct Progress;

class LevelSelect {
public:
    static constexpr const char* kTextOwner = "menu.levels";
    // Plays the best run of `level` (its number in the level table); false when it cannot.
    using WatchBestRun = std::function<bool(int level)>;
    // Whether `level` has a best run to watch.
    using HasBestRun = std::function<bool(int level)>;

    // Installed once by whoever can play a best run back; empty hooks hide the action.
    static void SetWatchHook(WatchBestRun watch);
    static void SetHasBestRun(HasBestRun hasBestRun);
    static const WatchBestRun& WatchHook();

    enum class Event { None, Play, Watch, Back };
    struct Input {
        Event event = Event::None;
        // The level table's number of the level selected.
        std::int32_t level = -1;
    };

    LevelSelect() = default;
    ~LevelSelect();
    LevelSelect(const LevelSelect&) = delete;
    LevelSelect& operator=(const LevelSelect&) = delete;

    // Builds the plates of the levels reached in `progress` around the main camera, with
    // `selectedLevel` selected (the furthest level when it is not among them).
    void Show(const Progress& progress, std::int32_t selectedLevel);
    void Hide();
    void Forget();
    bool Showing() const { return !tiles_.empty(); }
    // The level of the plate selected (or last selected, while the bottom row is).
    std::int32_t SelectedLevel() const;
    // The labels of the bottom row as shown, left to right.
    std::vector<std::string> Actions() const;
    // Once per frame while showing: reads the input and redraws the selection.
    Input Update(double dt);

    // A level's name for its plate: "level_MovingTut1" reads "Moving Tut 1".
    static std::string PlateName(const std::string& levelFile);

private:
    struct Plate {
        std::int32_t level = 0;
        std::string name;
        std::int32_t found = 0;
        std::int32_t placed = 0;
        std::int64_t bestSteps = 0;
    };
    enum class Action { Watch, Back };

    void BuildActions();
    void Move(int columns, int rows);
    Input Activate() const;
    int UnderMouse() const;
    void Draw();

    std::vector<Plate> plates_;
    std::vector<Object*> tiles_;
    std::vector<Action> actions_;
    std::vector<Object*> actionBars_;
    // An index into the plates, or plates_.size() + n for the n-th action of the bottom row.
    int selected_ = 0;
    int lastPlate_ = 0;
    int framesShown_ = 0;
    int mouseX_ = 0;
    int mouseY_ = 0;
    double navTimer_ = 100.0;
};
