// headless_runner: runs the real engine without window, drawing or sound, on the fixed-step clock
// (1/60 s per frame), from a chosen level, and prints what happens.
//
//   headless_runner <assets-folder> [--level <n|name>] [--frames <count>] [--until <n|name>]
//                   [--collisions] [--positions]
//
// Prints one line per level transition ("frame F: LevelStarted <name>", "frame F: ChangeLevel
// <target>"), and on request each frame's Collision messages and the position of every live
// object. A frame's lines list the messages that frame read, i.e. those sent the frame before.
// Runs --frames frames (default 600), or stops early when the --until level starts or the game
// quits. Exit status: 0, or 1 when --until was given and the level never started, 2 for usage.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include "core/core.h"
#include "core/messaging.h"
#include "meta/assets.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "objects/object_system.h"
#include "platform/services.h"

namespace {

int Usage() {
    std::cerr << "usage: headless_runner <assets-folder> [--level <n|name>] [--frames <count>]\n"
                 "                       [--until <n|name>] [--collisions] [--positions]\n";
    return 2;
}

// A level number from its number or its name in the level table.
std::optional<int> LevelNumber(const std::string& text) {
    const auto& table = LevelManager::LevelTable();
    for (int i = 0; i < LevelManager::kLevelCount; ++i) {
        if (table[i] == text || std::to_string(i) == text) {
            return i;
        }
    }
    return std::nullopt;
}

const char* CollisionKindName(CollisionKind kind) {
    switch (kind) {
        case CollisionKind::Began:
            return "began";
        case CollisionKind::Continues:
            return "continues";
        case CollisionKind::Ended:
            return "ended";
    }
    return "?";
}

std::string NameOf(const Object* object) {
    return object ? "\"" + object->GetName() + "\"" : std::string("(none)");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return Usage();
    }
    int startLevel = 0;
    long frames = 600;
    std::optional<int> until;
    bool collisions = false;
    bool positions = false;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--level" && hasValue) {
            const auto level = LevelNumber(argv[++i]);
            if (!level) {
                std::cerr << "headless_runner: no level " << argv[i] << " in the level table\n";
                return 2;
            }
            startLevel = *level;
        } else if (arg == "--until" && hasValue) {
            until = LevelNumber(argv[++i]);
            if (!until) {
                std::cerr << "headless_runner: no level " << argv[i] << " in the level table\n";
                return 2;
            }
        } else if (arg == "--frames" && hasValue) {
            char* end = nullptr;
            frames = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || frames < 0) {
                return Usage();
            }
        } else if (arg == "--collisions") {
            collisions = true;
        } else if (arg == "--positions") {
            positions = true;
        } else {
            return Usage();
        }
    }

    Assets::SetRoot(argv[1]);
    LevelManager::SetStartLevel(startLevel);
    Core core(platform::MakeHeadlessServices(1.0 / 60.0));
    LoadGameData(core);

    bool reached = false;
    for (long frame = 1; frame <= frames && isRunning && !reached; ++frame) {
        core.Update();
        for (const auto& message : MessagingSystem::GetMessages()) {
            if (const auto* started = As<LevelStartedMessage>(*message)) {
                std::printf("frame %ld: LevelStarted %s\n", frame, started->levelName.c_str());
                reached =
                    reached || (until && started->levelName == LevelManager::LevelTable()[*until]);
            } else if (const auto* change = As<ChangeLevelMessage>(*message)) {
                std::printf("frame %ld: ChangeLevel %d\n", frame, change->target);
            } else if (const auto* hit = As<CollisionMessage>(*message); hit && collisions) {
                std::printf("frame %ld: Collision %s %s %s\n", frame, CollisionKindName(hit->kind),
                            NameOf(hit->objectA).c_str(), NameOf(hit->objectB).c_str());
            }
        }
        if (positions) {
            for (const Object* object : LevelObjects()) {
                const Vector2D p = object->GetTransform().GetPosition();
                std::printf("frame %ld: position %s %.3f %.3f\n", frame, NameOf(object).c_str(),
                            p.x, p.y);
            }
        }
        if (!isRunning) {
            std::printf("frame %ld: quit\n", frame);
        }
    }
    std::fflush(stdout);
    core.Shutdown();
    // The archetypes outlive the systems; destroyed here, their storage goes with the Core's.
    DestroyAllArchetypes();
    if (until && !reached) {
        std::cerr << "headless_runner: level " << LevelManager::LevelTable()[*until]
                  << " did not start within " << frames << " frames\n";
        return 1;
    }
    return 0;
}
