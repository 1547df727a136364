#include "ui/level_select.h"

#include <algorithm>
#include <cctype>

#include "core/screen.h"
#include "gameplay/progress.h"
#include "graphics/camera.h"
#include "graphics/colored_square_component.h"
#include "graphics/screen_text.h"
#include "input/input_system.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "ui/hud.h"
#include "ui/menu_moves.h"

namespace {

constexpr std::int32_t kFirstLevel = 2;
// The ending is the last level a player can be sent to; the final screen is no level to play.
constexpr std::int32_t kLastLevel = 19;
constexpr int kColumns = 6;
// Screen pixels: a plate's size, the distance between plates, where the grid and the bottom row
// stand.
constexpr int kPlateWidth = 226;
constexpr int kPlateHeight = 132;
constexpr int kColumnPitch = 244;
constexpr int kRowPitch = 150;
constexpr int kTitleY = 96;
constexpr int kGridTop = 156;
constexpr int kActionsY = 640;
constexpr int kActionWidth = 300;
constexpr int kActionHeight = 44;
constexpr int kActionGap = 40;
constexpr int kTextInset = 6;
constexpr float kBarZ = 8.0f;
constexpr platform::Argb kText = 0xFFFFFFFFu;
constexpr platform::Argb kTitleText = 0xFFFFE9A8u;
constexpr platform::Argb kQuietText = 0xFFB8C2D0u;

struct Tint {
    float r, g, b, a;
};
// The ListMenu's bars: the buttons' ink, and their hover fill for the selection.
constexpr Tint kBar{0.118f, 0.149f, 0.2f, 0.92f};
constexpr Tint kSelectedBar{0.353f, 0.435f, 0.549f, 1.0f};

LevelSelect::WatchBestRun& Watcher() {
    static LevelSelect::WatchBestRun watch;
    return watch;
}

LevelSelect::HasBestRun& BestRunKnown() {
    static LevelSelect::HasBestRun known;
    return known;
}

Vector2D CameraPosition() {
    const Camera* camera = MainCamera();
    return camera ? camera->GetPosition() : Vector2D{};
}

bool IsLive(const Object* object) {
    const auto& live = LevelObjects();
    return std::find(live.begin(), live.end(), object) != live.end();
}

// The world point at screen pixel (x, y), the camera being the screen's centre.
Vector2D WorldAt(int x, int y) {
    return CameraPosition() + Vector2D{static_cast<float>(x - Screen::kWidth / 2),
                                       static_cast<float>(Screen::kHeight / 2 - y)};
}

Object* MakeBar(int centreX, int centreY, int width, int height) {
    auto* bar = new Object;
    bar->SetName("LevelSelectBar");
    bar->AddComponent("ColoredSquareComponent", new ColoredSquareComponent);
    Transform2D& transform = bar->GetTransform();
    transform.SetPosition(WorldAt(centreX, centreY));
    transform.SetScale({static_cast<float>(width) / 2.0f, static_cast<float>(height) / 2.0f});
    transform.SetZLayer(kBarZ);
    bar->SetVisible(true);
    LevelObjects().push_back(bar);
    return bar;
}

void Paint(Object* bar, const Tint& tint) {
    if (!IsLive(bar)) {
        return;
    }
    if (auto* square = bar->Get<ColoredSquareComponent>("ColoredSquareComponent")) {
        square->redTint = tint.r;
        square->greenTint = tint.g;
        square->blueTint = tint.b;
        square->alphaTint = tint.a;
    }
}

void Destroy(std::vector<Object*>& bars) {
    for (Object* bar : bars) {
        if (IsLive(bar)) {
            bar->Destroy();
        }
    }
    bars.clear();
}

int PlateLeft(int index) {
    const int gridWidth = (kColumns - 1) * kColumnPitch + kPlateWidth;
    return (Screen::kWidth - gridWidth) / 2 + (index % kColumns) * kColumnPitch;
}

int PlateTop(int index) {
    return kGridTop + (index / kColumns) * kRowPitch;
}

}  // namespace

void LevelSelect::SetWatchHook(WatchBestRun watch) {
    Watcher() = std::move(watch);
}

void LevelSelect::SetHasBestRun(HasBestRun hasBestRun) {
    BestRunKnown() = std::move(hasBestRun);
}

const LevelSelect::WatchBestRun& LevelSelect::WatchHook() {
    return Watcher();
}

LevelSelect::~LevelSelect() {
    ScreenText::Clear(kTextOwner);
}

std::string LevelSelect::PlateName(const std::string& levelFile) {
    std::string stem = levelFile;
    if (stem.starts_with("level_")) {
        stem.erase(0, 6);
    }
    std::string name;
    for (std::size_t i = 0; i < stem.size(); ++i) {
        const auto c = static_cast<unsigned char>(stem[i]);
        const auto before = i > 0 ? static_cast<unsigned char>(stem[i - 1]) : ' ';
        const bool newWord = i > 0 && ((std::isupper(c) && std::islower(before)) ||
                                       (std::isdigit(c) && !std::isdigit(before)));
        if (newWord) {
            name += ' ';
        }
        name += static_cast<char>(c);
    }
    return name;
}

void LevelSelect::Show(const Progress& progress, std::int32_t selectedLevel) {
    Hide();
    const std::int32_t last = std::clamp(progress.furthestLevel, kFirstLevel, kLastLevel);
    for (std::int32_t level = kFirstLevel; level <= last; ++level) {
        const std::string& file = LevelManager::LevelTable()[static_cast<std::size_t>(level)];
        const auto at = static_cast<std::size_t>(level);
        plates_.push_back({level, PlateName(file), progress.stars[at], StarsInLevelFile(file),
                           progress.bestSteps[at]});
    }
    const std::int32_t chosen = std::clamp(selectedLevel, kFirstLevel, last);
    selected_ = lastPlate_ = chosen - kFirstLevel;
    framesShown_ = 0;
    navTimer_ = 100.0;
    mouseX_ = InputSystem::GetMouseX();
    mouseY_ = InputSystem::GetMouseY();
    for (std::size_t i = 0; i < plates_.size(); ++i) {
        const int index = static_cast<int>(i);
        tiles_.push_back(MakeBar(PlateLeft(index) + kPlateWidth / 2,
                                 PlateTop(index) + kPlateHeight / 2, kPlateWidth, kPlateHeight));
    }
    // Watch and Back; Watch shows only for a level with a run to watch.
    actionBars_.push_back(MakeBar(0, 0, kActionWidth, kActionHeight));
    actionBars_.push_back(MakeBar(0, 0, kActionWidth, kActionHeight));
    BuildActions();
    Draw();
}

void LevelSelect::Hide() {
    Destroy(tiles_);
    Destroy(actionBars_);
    Forget();
}

void LevelSelect::Forget() {
    tiles_.clear();
    actionBars_.clear();
    plates_.clear();
    actions_.clear();
    ScreenText::Clear(kTextOwner);
}

std::int32_t LevelSelect::SelectedLevel() const {
    if (plates_.empty()) {
        return -1;
    }
    return plates_[static_cast<std::size_t>(
                       std::clamp(lastPlate_, 0, static_cast<int>(plates_.size()) - 1))]
        .level;
}

std::vector<std::string> LevelSelect::Actions() const {
    std::vector<std::string> labels;
    for (const Action action : actions_) {
        labels.push_back(action == Action::Watch ? "Watch best run" : "Back");
    }
    return labels;
}

void LevelSelect::BuildActions() {
    actions_.clear();
    const std::int32_t level = SelectedLevel();
    if (Watcher() && BestRunKnown() && BestRunKnown()(level)) {
        actions_.push_back(Action::Watch);
    }
    actions_.push_back(Action::Back);
    if (actionBars_.size() < 2) {
        return;
    }
    const int centre = Screen::kWidth / 2;
    const int y = kActionsY + kActionHeight / 2;
    const bool both = actions_.size() == 2;
    const int offset = (kActionWidth + kActionGap) / 2;
    if (IsLive(actionBars_[0])) {
        actionBars_[0]->SetVisible(both);
        actionBars_[0]->GetTransform().SetPosition(WorldAt(centre - offset, y));
    }
    if (IsLive(actionBars_[1])) {
        actionBars_[1]->GetTransform().SetPosition(WorldAt(both ? centre + offset : centre, y));
    }
}

void LevelSelect::Move(int columns, int rows) {
    const int plates = static_cast<int>(plates_.size());
    const int actions = static_cast<int>(actions_.size());
    if (selected_ < plates) {
        const int next = selected_ + columns + rows * kColumns;
        if (rows != 0 && (next < 0 || next >= plates)) {
            // Off the grid, up or down: the bottom row, on its side of the screen.
            const bool right = selected_ % kColumns >= kColumns / 2;
            selected_ = plates + (right ? actions - 1 : 0);
        } else {
            selected_ = (next + plates) % plates;
            lastPlate_ = selected_;
        }
    } else if (columns != 0) {
        selected_ = plates + (selected_ - plates + columns + actions) % actions;
    } else if (rows != 0) {
        // Up goes back to the plate left, down round to the top row.
        selected_ = rows < 0 ? lastPlate_ : lastPlate_ % kColumns;
        lastPlate_ = selected_;
    }
    BuildActions();
}

LevelSelect::Input LevelSelect::Activate() const {
    const int plates = static_cast<int>(plates_.size());
    if (selected_ < plates) {
        return {Event::Play, SelectedLevel()};
    }
    const Action action = actions_[static_cast<std::size_t>(selected_ - plates)];
    return {action == Action::Watch ? Event::Watch : Event::Back, SelectedLevel()};
}

int LevelSelect::UnderMouse() const {
    for (std::size_t i = 0; i < tiles_.size(); ++i) {
        if (IsLive(tiles_[i]) && InputSystem::IsMouseOver(*tiles_[i])) {
            return static_cast<int>(i);
        }
    }
    const bool both = actions_.size() == 2;
    for (std::size_t i = 0; i < actionBars_.size(); ++i) {
        if (!IsLive(actionBars_[i]) || !actionBars_[i]->IsVisible() ||
            !InputSystem::IsMouseOver(*actionBars_[i])) {
            continue;
        }
        // The bars are Watch then Back; the row holds Back alone when Watch is hidden.
        return static_cast<int>(plates_.size() + (both ? i : 0));
    }
    return -1;
}

LevelSelect::Input LevelSelect::Update(double dt) {
    using namespace InputSystem;
    Input input;
    if (tiles_.empty()) {
        return input;
    }
    if (++framesShown_ < 2) {
        Draw();
        return input;
    }
    const MenuMoves moves = MenuMoves::Read(dt, navTimer_);
    const int rows = moves.vertical;
    const int columns = moves.horizontal != 0 ? moves.horizontal : (moves.next ? 1 : 0);
    bool activate = moves.activate;
    const bool back = moves.back;
    // The mouse selects what it moves onto.
    const int mouseX = GetMouseX(), mouseY = GetMouseY();
    const int under = UnderMouse();
    if ((mouseX != mouseX_ || mouseY != mouseY_) && under >= 0) {
        selected_ = under;
    }
    mouseX_ = mouseX;
    mouseY_ = mouseY;
    if (MouseLeftTriggered() && under >= 0) {
        selected_ = under;
        activate = true;
    }
    if (selected_ < static_cast<int>(plates_.size()) && selected_ != lastPlate_) {
        lastPlate_ = selected_;
        BuildActions();
    }
    if (columns != 0 || rows != 0) {
        Move(columns, rows);
    }
    if (back) {
        input = {Event::Back, SelectedLevel()};
    } else if (activate) {
        input = Activate();
    }
    Draw();
    return input;
}

void LevelSelect::Draw() {
    std::vector<ScreenText::Line> lines;
    const int centre = Screen::kWidth / 2;
    lines.push_back({"Levels", centre, kTitleY, true, kTitleText});
    for (std::size_t i = 0; i < plates_.size(); ++i) {
        const Plate& plate = plates_[i];
        const int index = static_cast<int>(i);
        const bool chosen = index == selected_;
        if (i < tiles_.size()) {
            Paint(tiles_[i], chosen ? kSelectedBar : kBar);
        }
        const int x = PlateLeft(index) + kPlateWidth / 2;
        const int y = PlateTop(index) + kTextInset;
        const bool all = plate.placed > 0 && plate.found >= plate.placed;
        lines.push_back(
            {"Level " + std::to_string(plate.level - 1), x, y, true, kTitleText, false});
        lines.push_back({plate.name, x, y + ScreenText::kLineHeight, true, kText, false});
        lines.push_back(
            {"Stars " + std::to_string(plate.found) + " / " + std::to_string(plate.placed), x,
             y + 2 * ScreenText::kLineHeight, true, all ? kTitleText : kText, false});
        lines.push_back({plate.bestSteps > 0 ? Hud::Clock(plate.bestSteps) : "--:--", x,
                         y + 3 * ScreenText::kLineHeight, true,
                         plate.bestSteps > 0 ? kText : kQuietText, false});
    }
    const int plates = static_cast<int>(plates_.size());
    const bool both = actions_.size() == 2;
    for (std::size_t i = 0; i < actions_.size(); ++i) {
        const bool chosen = selected_ == plates + static_cast<int>(i);
        Object* bar = actionBars_.size() == 2 ? actionBars_[both ? i : 1] : nullptr;
        if (bar) {
            Paint(bar, chosen ? kSelectedBar : kBar);
        }
        const std::string label = actions_[i] == Action::Watch ? "Watch best run" : "Back";
        const int offset = (kActionWidth + kActionGap) / 2;
        const int x = !both ? centre : (i == 0 ? centre - offset : centre + offset);
        lines.push_back({chosen ? "> " + label + " <" : label, x,
                         kActionsY + (kActionHeight - ScreenText::kLineHeight) / 2, true, kText,
                         false});
    }
    ScreenText::Set(kTextOwner, std::move(lines));
}
