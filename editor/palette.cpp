#include "editor/palette.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "core/screen.h"
#include "editor/editor_components.h"
#include "graphics/camera.h"
#include "meta/assets.h"
#include "objects/component_factory.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"

namespace Palette {
namespace {

constexpr int kFirstOffset = 420;
// The whole part of (30 + 1) x -2: one icon and a gap.
constexpr int kOffsetStep = -62;
constexpr float kIconScale = 30.0f;
constexpr float kIconDepth = 10.0f;
constexpr float kCameraHeight = 50.0f;
// The archetype view's grid: the whole screen (1600 x 900 around the camera), icons 60 wide with
// room between them, rows from the top.
// The left of the screen is the panel's.
constexpr int kGridColumns = 10;
constexpr float kGridStep = 108.0f;
constexpr float kGridLeft = -Screen::kCentreX + 480.0f;
constexpr float kGridTop = Screen::kCentreY - 70.0f;

// Components of the game's own archetypes (its menus, its screens, its scripted ending), which a
// designer does not place: the palette shows them after the pieces, apart.
constexpr const char* kGamesOwnComponents[] = {"ChangeLevelButtonComponent",
                                               "OnGUIComponent",
                                               "EndOfGame",
                                               "FlyingStar",
                                               "Starfall",
                                               "EndSkip",
                                               "LoopingBackgroundComponent",
                                               "PresentationLockingDoor"};
// Archetypes the code makes by name.
constexpr const char* kGamesOwnNames[] = {"Face", "StarEnd"};

bool IsGamesOwn(const Object& archetype) {
    for (const char* name : kGamesOwnNames) {
        if (archetype.GetName() == name) {
            return true;
        }
    }
    for (const char* component : kGamesOwnComponents) {
        if (archetype.HasComponent(component)) {
            return true;
        }
    }
    return false;
}

// The archetypes in palette order, and the slot each takes: the pieces in the order of the
// archetype list, then, a slot apart (a row apart in the grid), the game's own in the same order.
struct Slot {
    Object* archetype;
    std::size_t index;
};

std::vector<Slot> Slots(Kind kind) {
    std::map<std::string, std::size_t> listed;
    std::ifstream list(Assets::PathOf("Objects"), std::ios::binary);
    for (std::string line; std::getline(list, line);) {
        listed.emplace(line, listed.size());
    }
    std::vector<Object*> order;
    for (auto& [name, archetype] : ArchetypeTable()) {
        order.push_back(archetype);
    }
    const auto rank = [&](const Object* archetype) {
        const auto found = listed.find(archetype->GetName());
        return std::make_tuple(IsGamesOwn(*archetype),
                               found == listed.end() ? listed.size() : found->second,
                               archetype->GetName());
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](const Object* a, const Object* b) { return rank(a) < rank(b); });
    std::vector<Slot> slots;
    std::size_t index = 0;
    bool apart = false;
    for (Object* archetype : order) {
        if (!apart && IsGamesOwn(*archetype) && index > 0) {
            apart = true;
            index = kind == Kind::ArchetypeView
                        ? (index + kGridColumns - 1) / kGridColumns * kGridColumns
                        : index + 1;
        }
        slots.push_back({archetype, index++});
    }
    return slots;
}

const char* const kLevelEditorComponent = "ArchetypeLevelEditorComponent";
const char* const kObjectEditorComponent = "ArchetypeObjectEditorComponent";
// Pushes an icon's depth behind the camera's, so the icons stay in front of the level.
const char* const kScreenDepthComponent = "OnLGUIComponent";

void AddScreenDepthComponent(Object& archetype) {
    // Made from its prototype by name: the palette needs nothing of the class but its presence.
    if (const Component* prototype = ComponentFactory::Find(kScreenDepthComponent)) {
        archetype.AddComponent(kScreenDepthComponent, prototype->Clone());
    }
}

void EmptyViews() {
    while (!ViewList().empty()) {
        delete ViewList().back();
    }
    while (!CameraList().empty()) {
        delete CameraList().back();
    }
}

}  // namespace

int OffsetAt(std::size_t index) {
    return kFirstOffset + kOffsetStep * static_cast<int>(index);
}

void LayOut(Kind kind, float x) {
    for (const auto& [archetype, index] : Slots(kind)) {
        const int offset = OffsetAt(index);
        // A component of the same class from an earlier layout would keep its old offset.
        if (kind == Kind::LevelEditor) {
            archetype->RemoveComponent(kLevelEditorComponent);
            archetype->AddComponent(kLevelEditorComponent,
                                    new ArchetypeLevelEditorComponent(offset));
        } else {
            archetype->RemoveComponent(kObjectEditorComponent);
            archetype->AddComponent(kObjectEditorComponent,
                                    new ArchetypeObjectEditorComponent(offset));
        }
        AddScreenDepthComponent(*archetype);
        archetype->SetVisible(true);
        Transform2D& t = archetype->GetTransform();
        t.SetZLayer(kIconDepth);
        t.SetRotationDegrees(0);
        t.SetScale({kIconScale, kIconScale});
        if (auto* body = archetype->Get<RigidBody2D>("RigidBody2D")) {
            body->SetVelocity({0.0f, 0.0f});
        }
        t.SetPosition(kind == Kind::ArchetypeView ? GridPlace(index)
                                                  : Vector2D{x, static_cast<float>(offset)});
    }
}

Vector2D GridPlace(std::size_t index) {
    const auto column = static_cast<float>(index % kGridColumns);
    const auto row = static_cast<float>(index / kGridColumns);
    return {kGridLeft + column * kGridStep, kGridTop - row * kGridStep};
}

void Hide() {
    for (auto& [name, archetype] : ArchetypeTable()) {
        archetype->SetVisible(false);
        archetype->RemoveComponent(kLevelEditorComponent);
    }
}

void StripPaletteComponents(Object& instance) {
    instance.RemoveComponent(kLevelEditorComponent);
    instance.RemoveComponent(kObjectEditorComponent);
    instance.RemoveComponent(kScreenDepthComponent);
}

void SetUpLevelEditorViews() {
    EmptyViews();
    auto* main = new CameraView(new Camera(0.0f, 0.0f, kCameraHeight));
    main->viewport.x = 0;
    main->viewport.width = kMainViewWidth;
    auto* palette = new CameraView(new Camera(0.0f, 0.0f, kCameraHeight));
    palette->viewport.x = kMainViewWidth;
    palette->viewport.width = kPaletteViewWidth;
    palette->camera->SetPosition({kLevelEditorX, 0.0f});
    main->Recompute();
    palette->Recompute();
    LayOut(Kind::LevelEditor, kLevelEditorX);
}

void SetUpArchetypeView() {
    EmptyViews();
    auto* view = new CameraView(new Camera(0.0f, 0.0f, kCameraHeight));
    view->Recompute();
    LayOut(Kind::ArchetypeView, kArchetypeViewX);
}

}  // namespace Palette
