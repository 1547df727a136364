// The reach the levels are built from: the real "Player1", "FanTall" and "Cannon" archetypes in
// small headless worlds at the game's frame time, driven by the keys a player presses. Each
// measured number must match the table in docs/reach.md, so the doc stays true when the tuning
// changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "core/messaging.h"
#include "input/input_system.h"
#include "meta/assets.h"
#include "meta/data_reader.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"
#include "platform/services.h"
#include "support/headless_engine.h"
#include "support/scene_builder.h"
#include "support/scripted_window.h"

namespace {

namespace Key = VirtualKey;
constexpr double kFrame = 1.0 / 63.0;  // the game's frame under its cap
constexpr float kFloorTop = 0.0f;
constexpr float kRestY = kFloorTop + 30.0f;  // the player's collider radius

std::string ArchetypeLines(const std::string& name) {
    std::ifstream file(std::string(VORL_SOURCE_DIR) + "/assets/" + name);
    std::string text, line;
    while (std::getline(file, line)) {
        if (line != "Transform2D") {
            text += "  " + line + "\n";
        }
    }
    return text;
}

// "| <label> | <full> | <half> |" rows of docs/reach.md: the first number of each cell.
std::map<std::string, std::pair<double, double>> DocumentedReach() {
    std::ifstream file(std::string(VORL_SOURCE_DIR) + "/docs/reach.md");
    std::map<std::string, std::pair<double, double>> rows;
    const std::regex row(R"(^\| ([^|]+?) \| (-?[0-9.]+)[^|]*\| (-?[0-9.]+)[^|]*\|$)");
    std::string line;
    std::smatch m;
    while (std::getline(file, line)) {
        if (std::regex_match(line, m, row)) {
            rows[m[1]] = {std::stod(m[2]), std::stod(m[3])};
        }
    }
    return rows;
}

// A floor of "SandBlockBig" tiles named "Crate" (jumpable), from x = -9000 to 9000, top at 0.
std::string Floor() {
    std::string text;
    for (int x = -9000; x <= 9000; x += 128) {
        text += "Crate " + std::to_string(x) + " -64 64 64\n" + ArchetypeLines("SandBlockBig");
    }
    return text;
}

// One small world at a time: the floor, the real player on it, and maybe a piece. Keys go in
// through a scripted window, so a press lands during a frame as it does in the game.
class World {
public:
    World() : engine_(Services()) {
        Assets::SetRoot(std::string(VORL_SOURCE_DIR) + "/assets");
        LoadArchetype("Face");  // the player clones it
        Assets::SetRoot("assets");
    }

    Object* Start(float x, float y, bool full, const std::string& piece = "") {
        player_ =
            testing_support::LoadScene(Floor() + piece + "Player1 " + std::to_string(x) + " " +
                                       std::to_string(y) + " 32 32\n" + ArchetypeLines("Player1"))
                .back();
        MessagingSystem::Send<LevelStartedMessage>("Reach");
        Run(20);
        if (!full) {
            Tap(Key::Space);
        }
        return player_;
    }
    void Run(int frames) { engine_.RunFrames(frames); }
    void Press(int key) { window_->QueueKey(key, true); }
    void Release(int key) { window_->QueueKey(key, false); }
    void Tap(int key) {
        Press(key);
        Run(1);
        Release(key);
    }
    Vector2D At() const { return player_->GetTransform().GetPosition(); }
    Vector2D Velocity() const { return player_->Get<RigidBody2D>("RigidBody2D")->GetVelocity(); }

    // Jumps (the drive key, if any, stays as it is); {peak rise, length, frames in the air}.
    std::array<double, 3> Jump() {
        const Vector2D from = At();
        Tap(Key::Up);
        double rise = 0;
        int frames = 1;
        for (; frames < 600 && !(rise > 1 && At().y <= from.y + 0.5f); ++frames) {
            Run(1);
            rise = std::max<double>(rise, At().y - from.y);
        }
        return {rise, At().x - from.x, double(frames)};
    }

private:
    platform::Services Services() {
        platform::Services services = platform::MakeHeadlessServices(kFrame);
        auto window = std::make_unique<testing_support::ScriptedWindow>();
        window_ = window.get();
        services.window = std::move(window);
        return services;
    }

    testing_support::ScriptedWindow* window_ = nullptr;
    testing_support::HeadlessEngine engine_;
    Object* player_ = nullptr;
};

using Table = std::map<std::string, std::pair<double, double>>;

void Put(Table& table, const std::string& label, bool full, double value) {
    (full ? table[label].first : table[label].second) = value;
}

void MeasureRollAndJumps(Table& out, bool full) {
    World world;
    world.Start(-8000, kRestY, full);
    world.Press(Key::Right);
    world.Run(32);
    Put(out, "Speed after 0.5 s of rolling (px/s)", full, world.Velocity().x);
    world.Run(31);
    Put(out, "Speed after 1 s of rolling (px/s)", full, world.Velocity().x);
    world.Run(63);
    Put(out, "Speed after 2 s of rolling (px/s)", full, world.Velocity().x);
    Put(out, "Jump length at top speed (px)", full, world.Jump()[1]);
    world.Release(Key::Right);
    world.Run(300);  // roll to a stop
    const auto standing = world.Jump();
    Put(out, "Jump height (px)", full, standing[0]);
    Put(out, "Time in the air (frames)", full, standing[2]);
}

void MeasureFan(Table& out, bool full) {
    World world;
    const std::string fan =
        "FanTall 0 " + std::to_string(kFloorTop + 320) + " 64 320\n" + ArchetypeLines("FanTall");
    world.Start(0, kRestY, full, fan);
    double rise = 0;
    for (int i = 0; i < 300; ++i) {
        world.Run(1);
        rise = std::max<double>(rise, world.At().y - kRestY);
    }
    Put(out, "Fan lift, tall fan (px)", full, rise);
}

void MeasureCannon(Table& out, bool full) {
    World world;
    // Rotated 45 degrees the barrel leans right and throws up and to the right.
    const float cannonY = kFloorTop + 48;
    const std::string cannon =
        "Cannon 0 " + std::to_string(cannonY) + " 48 48 45\n" + ArchetypeLines("Cannon");
    world.Start(0, cannonY, full, cannon);
    double peak = 0;
    float launchX = 0;
    bool flying = false;
    for (int i = 0; i < 600; ++i) {
        world.Run(1);
        if (!flying && world.Velocity().x > 300) {
            flying = true;
            launchX = world.At().x;
        }
        if (flying) {
            peak = std::max<double>(peak, world.At().y - kRestY);
            if (world.At().y <= kRestY + 0.5f && peak > 5) {
                break;
            }
        }
    }
    ASSERT_TRUE(flying) << "the cannon never threw the " << (full ? "full" : "half") << " form";
    Put(out, "Cannon at 45 degrees, peak above the floor (px)", full, peak);
    Put(out, "Cannon at 45 degrees, length to the floor (px)", full, world.At().x - launchX);
}

TEST(Reach, TheDocumentedReachIsWhatTheGameDoes) {
    Table measured;
    for (const bool full : {true, false}) {
        MeasureRollAndJumps(measured, full);
        MeasureFan(measured, full);
        MeasureCannon(measured, full);
    }
    const Table documented = DocumentedReach();
    for (const auto& [label, values] : measured) {
        std::ostringstream row;
        row << "| " << label << " | " << std::lround(values.first) << " | "
            << std::lround(values.second) << " |";
        const auto doc = documented.find(label);
        if (doc == documented.end()) {
            ADD_FAILURE() << "docs/reach.md lacks the row " << row.str();
            continue;
        }
        const auto close = [](double said, double real) {
            return std::fabs(said - real) <= std::max(3.0, std::fabs(real) * 0.04);
        };
        EXPECT_TRUE(close(doc->second.first, values.first) &&
                    close(doc->second.second, values.second))
            << "docs/reach.md says " << doc->second.first << " | " << doc->second.second
            << "; the game does " << row.str();
    }
}

}  // namespace
