#include "ui/list_menu.h"

#include <algorithm>

#include "core/screen.h"
#include "graphics/camera.h"
#include "graphics/colored_square_component.h"
#include "graphics/screen_text.h"
#include "input/input_system.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "ui/menu_moves.h"

namespace {

// Bars in the menus' depth (buttons draw at 8), in front of the veil.
constexpr float kBarZ = 8.0f;
// Half sizes (the quad spans twice the scale) and the distance between rows, in screen pixels.
constexpr Vector2D kBarScale{300.0f, 22.0f};
constexpr int kRowPitch = 56;
constexpr int kTitleGap = 70;
constexpr int kLabelInset = 30;
constexpr platform::Argb kText = 0xFFFFFFFFu;
constexpr platform::Argb kTitleText = 0xFFFFE9A8u;

struct Tint {
    float r, g, b, a;
};
// The buttons' ink, and their hover fill for the selected row.
constexpr Tint kBar{0.118f, 0.149f, 0.2f, 0.92f};
constexpr Tint kSelectedBar{0.353f, 0.435f, 0.549f, 1.0f};

Vector2D CameraPosition() {
    const Camera* camera = MainCamera();
    return camera ? camera->GetPosition() : Vector2D{};
}

bool IsLive(const Object* object) {
    const auto& live = LevelObjects();
    return std::find(live.begin(), live.end(), object) != live.end();
}

// The top of the first row on screen: the rows and their title centred on the screen.
int FirstRowY(std::size_t rows) {
    const int height = kTitleGap + static_cast<int>(rows) * kRowPitch;
    return (Screen::kHeight - height) / 2 + kTitleGap;
}

void Paint(Object& bar, const Tint& tint) {
    if (auto* square = bar.Get<ColoredSquareComponent>("ColoredSquareComponent")) {
        square->redTint = tint.r;
        square->greenTint = tint.g;
        square->blueTint = tint.b;
        square->alphaTint = tint.a;
    }
}

}  // namespace

ListMenu::~ListMenu() {
    ScreenText::Clear(kTextOwner);
}

void ListMenu::Show(std::string title, std::vector<Row> rows, int selected) {
    Hide();
    title_ = std::move(title);
    rows_ = std::move(rows);
    selected_ = std::clamp(selected, 0, std::max(0, static_cast<int>(rows_.size()) - 1));
    framesShown_ = 0;
    navTimer_ = 100.0;
    mouseX_ = InputSystem::GetMouseX();
    mouseY_ = InputSystem::GetMouseY();
    const Vector2D centre = CameraPosition();
    const int top = FirstRowY(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        auto* bar = new Object;
        bar->SetName("MenuRow");
        bar->AddComponent("ColoredSquareComponent", new ColoredSquareComponent);
        const int middle = top + static_cast<int>(i) * kRowPitch + ScreenText::kLineHeight / 2;
        Transform2D& transform = bar->GetTransform();
        transform.SetPosition(centre +
                              Vector2D{0.0f, static_cast<float>(Screen::kHeight / 2 - middle)});
        transform.SetScale(kBarScale);
        transform.SetZLayer(kBarZ);
        bar->SetVisible(true);
        LevelObjects().push_back(bar);
        bars_.push_back(bar);
    }
    Draw();
}

void ListMenu::Refresh(std::vector<Row> rows) {
    if (rows.size() == rows_.size()) {
        rows_ = std::move(rows);
        Draw();
    }
}

void ListMenu::Hide() {
    for (Object* bar : bars_) {
        if (IsLive(bar)) {
            bar->Destroy();
        }
    }
    Forget();
}

void ListMenu::Forget() {
    bars_.clear();
    rows_.clear();
    ScreenText::Clear(kTextOwner);
}

int ListMenu::MouseRow() const {
    for (std::size_t i = 0; i < bars_.size(); ++i) {
        if (InputSystem::IsMouseOver(*bars_[i])) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

ListMenu::Input ListMenu::Update(double dt) {
    using namespace InputSystem;
    Input input;
    if (bars_.empty()) {
        return input;
    }
    if (++framesShown_ < 2) {
        Draw();
        return input;
    }
    const int count = static_cast<int>(bars_.size());
    const MenuMoves moves = MenuMoves::Read(dt, navTimer_);
    int move = moves.vertical != 0 ? moves.vertical : (moves.next ? 1 : 0);
    int step = moves.horizontal;
    bool activate = moves.activate;
    if (moves.back) {
        input = {Event::Back, selected_};
    }
    // The mouse selects what it moves onto.
    const int mouseX = GetMouseX(), mouseY = GetMouseY();
    const int under = MouseRow();
    if ((mouseX != mouseX_ || mouseY != mouseY_) && under >= 0) {
        selected_ = under;
    }
    mouseX_ = mouseX;
    mouseY_ = mouseY;
    if (MouseLeftTriggered() && under >= 0) {
        selected_ = under;
        if (rows_[static_cast<std::size_t>(under)].value.empty()) {
            activate = true;
        } else {
            const float middle =
                bars_[static_cast<std::size_t>(under)]->GetTransform().GetPosition().x;
            step = static_cast<float>(mouseX) < middle ? -1 : 1;
        }
    }
    if (move != 0) {
        selected_ = (selected_ + move + count) % count;
    }
    if (input.event == Event::None) {
        if (activate) {
            input = {Event::Activated, selected_};
        } else if (step != 0) {
            input = {step < 0 ? Event::Decreased : Event::Increased, selected_};
        }
    }
    Draw();
    return input;
}

void ListMenu::Draw() {
    std::vector<ScreenText::Line> lines;
    const int top = FirstRowY(rows_.size());
    const int centre = Screen::kWidth / 2;
    lines.push_back({title_, centre, top - kTitleGap + 10, true, kTitleText});
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const bool chosen = static_cast<int>(i) == selected_;
        if (i < bars_.size() && IsLive(bars_[i])) {
            Paint(*bars_[i], chosen ? kSelectedBar : kBar);
        }
        const Row& row = rows_[i];
        const int y = top + static_cast<int>(i) * kRowPitch;
        const int left = centre - static_cast<int>(kBarScale.x) + kLabelInset;
        const int right = centre + static_cast<int>(kBarScale.x) - kLabelInset;
        if (row.value.empty()) {
            lines.push_back(
                {chosen ? "> " + row.label + " <" : row.label, centre, y, true, kText, false});
        } else {
            lines.push_back({row.label, left, y, false, kText, false});
            const std::string value = chosen ? "< " + row.value + " >" : row.value;
            lines.push_back({value, right - 60, y, true, kText, false});
        }
    }
    ScreenText::Set(kTextOwner, std::move(lines));
}
