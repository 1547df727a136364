// headless_runner: runs the real engine without window, drawing or sound, on the fixed-step clock
// (1/60 s per frame), from a chosen level, and prints what happens.
//
//   headless_runner <assets-folder> [--level <n|name>] [--frames <count>] [--until <n|name>]
//                   [--collisions] [--positions] [--help]
//
// Prints one line per level transition ("frame F: LevelStarted <name>", "frame F: ChangeLevel
// <target>"), and on request each frame's Collision messages and the position of every live
// object. A frame's lines list the messages that frame read, i.e. those sent the frame before.
// Runs --frames frames (default 600), or stops early when the --until level starts or the game
// quits. Exit status: 0, or 1 when --until was given and the level never started, 2 for usage or
// for an assets folder or starting level file that does not exist.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/core.h"
#include "core/messaging.h"
#include "meta/assets.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "objects/object_system.h"
#include "platform/services.h"
#include "tools/command_line.h"

namespace {

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

struct Settings {
    int startLevel = 0;
    long frames = 600;
    std::optional<int> until;
    bool collisions = false;
    bool positions = false;
};

std::string NoSuchLevel(const std::string& text) {
    return "no level " + text + " in the level table";
}

// The options, one entry each; a new option is one more entry here.
tools::CommandLine MakeCommandLine(Settings& settings) {
    tools::CommandLine line("headless_runner", {"<assets-folder>"});
    line.Add({"--level", "<n|name>", "start at this level (number or name; default 0)",
              [&](const std::string& value) {
                  const auto level = LevelNumber(value);
                  settings.startLevel = level.value_or(0);
                  return level ? std::string() : NoSuchLevel(value);
              }});
    line.Add({"--frames", "<count>", "run this many frames (default 600)",
              [&](const std::string& value) {
                  char* end = nullptr;
                  settings.frames = std::strtol(value.c_str(), &end, 10);
                  const bool ok = !value.empty() && *end == '\0' && settings.frames >= 0;
                  return ok ? std::string() : "\"" + value + "\" is not a frame count";
              }});
    line.Add({"--until", "<n|name>", "stop when this level starts; exit 1 if it never does",
              [&](const std::string& value) {
                  settings.until = LevelNumber(value);
                  return settings.until ? std::string() : NoSuchLevel(value);
              }});
    line.Add({"--collisions", "", "print each frame's Collision messages", [&](const std::string&) {
                  settings.collisions = true;
                  return std::string();
              }});
    line.Add({"--positions", "", "print every live object's position each frame",
              [&](const std::string&) {
                  settings.positions = true;
                  return std::string();
              }});
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    Settings settings;
    const tools::CommandLine line = MakeCommandLine(settings);
    std::vector<std::string> positionals;
    switch (line.Parse(argc, argv, positionals, std::cerr)) {
        case tools::CommandLine::Outcome::Help:
            std::cout << line.Usage();
            return 0;
        case tools::CommandLine::Outcome::Error:
            return 2;
        case tools::CommandLine::Outcome::Run:
            break;
    }
    const std::string& folder = positionals[0];
    if (!std::filesystem::is_directory(folder)) {
        std::cerr << "headless_runner: no assets folder \"" << folder << "\"\n";
        return 2;
    }
    Assets::SetRoot(folder);
    const std::string startFile = Assets::PathOf(LevelManager::LevelTable()[settings.startLevel]);
    if (!std::filesystem::is_regular_file(startFile)) {
        std::cerr << "headless_runner: no level file \"" << startFile << "\"\n";
        return 2;
    }
    LevelManager::SetStartLevel(settings.startLevel);
    Core core(platform::MakeHeadlessServices(1.0 / 60.0));
    LoadGameData(core);

    bool reached = false;
    for (long frame = 1; frame <= settings.frames && isRunning && !reached; ++frame) {
        core.Update();
        for (const auto& message : MessagingSystem::GetMessages()) {
            if (const auto* started = As<LevelStartedMessage>(*message)) {
                std::printf("frame %ld: LevelStarted %s\n", frame, started->levelName.c_str());
                reached =
                    reached || (settings.until &&
                                started->levelName == LevelManager::LevelTable()[*settings.until]);
            } else if (const auto* change = As<ChangeLevelMessage>(*message)) {
                std::printf("frame %ld: ChangeLevel %d\n", frame, change->target);
            } else if (const auto* hit = As<CollisionMessage>(*message);
                       hit && settings.collisions) {
                std::printf("frame %ld: Collision %s %s %s\n", frame, CollisionKindName(hit->kind),
                            NameOf(hit->objectA).c_str(), NameOf(hit->objectB).c_str());
            }
        }
        if (settings.positions) {
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
    if (settings.until && !reached) {
        std::cerr << "headless_runner: level " << LevelManager::LevelTable()[*settings.until]
                  << " did not start within " << settings.frames << " frames\n";
        return 1;
    }
    return 0;
}
