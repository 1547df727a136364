// headless_runner: runs the real engine without window, drawing or sound, on the fixed-step clock
// (1/60 s per frame unless --step says otherwise), from a chosen level, and prints what happens.
//
//   headless_runner <assets-folder> [--level <n|name>] [--frames <count>] [--until <n|name>]
//                   [--collisions] [--positions] [--input <file.input>] [--solutions]
//                   [--memory] [--step <seconds|game>] [--sim-step <seconds|game>] [--sound]
//                   [--draw-sizes] [--menus] [--help]
//
// --step is the length of a drawn frame, what a slow or fast machine measures; the game simulates
// in steps of the game's frame length (1/63 s) whatever it is, running as many steps in a frame as
// the clock owes, exactly as on a player's machine. --sim-step chooses another simulation step
// (figures worked at 1/60 s). At --step game every frame runs exactly one step.
//
// Prints one line per level transition ("frame F: LevelStarted <name>", "frame F: ChangeLevel
// <target>"), and on request each step's Collision messages and each frame's position of every
// live object. A step's lines list the messages that step read, i.e. those sent the step before;
// F is the drawn frame the step ran in.
// The player's events are reported as they happen: "frame F: win" (the win spin starts), "frame
// F: fall" (the player dropped below its "levelReset"), "frame F: stars N" (the star count
// changed).
//
// --draw-sizes prints, at the end, every frame of every sheet that was drawn, with its stored size,
// the size its picture was made for, whether it is sliced and has mip levels, and the largest and
// smallest it was drawn on the 1600 x 900 screen ("drawn <sheet> <frame> stored <w> <h> quad <w>
// <h> sliced <yes|no> mipmaps <yes|no> largest <w> <h> smallest <w> <h>"). --menus opens every
// menu screen in turn, a second apart, once the first level runs: the pause menu, how to play,
// credits, options, the confirmation, then resumes.
//
// --input plays a controller recording ("*.input", 16-byte records) into gamepad 0, one record a
// step from the first step the level runs with the pad connected (the pad is found a tenth of a
// second after start-up) and on through any later level; "frame F: recording ended" marks its
// end, after which the pad rests. --solutions instead plays, on every level the game reaches, that
// level's own solution ("Level<n>Input/inputfile1.input" of the assets folder) from the step its
// objects are live, so one process plays the whole game. --memory prints the process's resident
// memory as each level starts ("frame F: resident K KiB") and its peak at the end, then the most
// decoded picture memory the game held at once ("peak pictures K KiB").
// --sound plays the game's sound on the system's audio device and holds every frame to its
// length in real time, so that what is heard is what a player hears; with OpenAL Soft's
// wave-file back end (ALSOFT_CONF) it records the run's mix.
// Runs --frames frames (default 600), or stops early when the --until level starts or the game
// quits. Exit status: 0, or 1 when --until was given and the level never started, 2 for usage or
// for an assets folder, starting level file or recording that does not exist.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "engine/core.h"
#include "gameplay/player_control_component.h"
#include "gameplay/run_state.h"
#include "graphics/camera.h"
#include "graphics/graphics_system.h"
#include "graphics/texture.h"
#include "graphics/texture_component.h"
#include "input/input_recording.h"
#include "input/input_system.h"
#include "meta/assets.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "objects/object_system.h"
#include "platform/services.h"
#include "tools/command_line.h"
#include "tools/draw_census.h"
#include "tools/menu_tour.h"

namespace {

// ---- Driving the player: a recording into gamepad 0, the frame length, the player's events.

using FrameRateController::kGameFrameTime;

// Gamepad 0 playing a recording: connected all along; the runner moves it on one record per
// step once started. The other pads are absent.
class RecordedPad : public platform::Gamepads {
public:
    bool Open(const std::string& path) {
        in_.close();
        in_.clear();
        in_.open(path, std::ios::binary);
        path_ = path;
        offset_ = 0;
        state_ = {};
        return in_.is_open();
    }
    // The next record, or false (and a resting pad) at the end of the file.
    bool Advance() {
        InputRecording::Record record;
        in_.read(reinterpret_cast<char*>(record.data()), record.size());
        if (in_.gcount() != static_cast<std::streamsize>(record.size())) {
            if (in_.gcount() != 0) {
                std::cerr << path_ << ":" << offset_ << ": the recording ends inside a record\n";
            }
            state_ = {};
            return false;
        }
        offset_ += record.size();
        state_ = InputRecording::Decode(record);
        return true;
    }
    bool Read(int pad, platform::ControllerState& state) override {
        if (pad != 0) {
            return false;
        }
        state = state_;
        return true;
    }
    void SetRumble(int, std::uint16_t, std::uint16_t) override {}

private:
    std::ifstream in_;
    std::string path_;
    std::uint64_t offset_ = 0;
    platform::ControllerState state_;
};

// Feeds the recording, from the first step the level runs with the pad found.
class RecordingFeed {
public:
    explicit RecordingFeed(RecordedPad* pad) : pad_(pad) {}
    // Swaps in level `level`'s own solution (none: the pad rests through the level).
    void PlaySolutionOf(int level) {
        const std::string path =
            Assets::PathOf("Level" + std::to_string(level) + "Input/inputfile1.input");
        ended_ = !pad_->Open(path);
    }
    // Before each step; `levelRunning` once the level's objects are live.
    void BeforeStep(long frame, bool levelRunning) {
        if (!pad_ || ended_ || !levelRunning || !InputSystem::PadConnected(0)) {
            return;
        }
        if (!pad_->Advance()) {
            ended_ = true;
            std::printf("frame %ld: recording ended\n", frame);
        }
    }

private:
    RecordedPad* pad_;
    bool ended_ = false;
};

// Reports the player's win, fall and star count as they change.
class PlayerEvents {
public:
    void AfterStep(long frame) {
        const PlayerControlComponent* player = nullptr;
        for (const Object* object : LevelObjects()) {
            if ((player = object->Get<PlayerControlComponent>("PlayerControlComponent"))) {
                break;
            }
        }
        const bool winning = player && player->IsWinning();
        const bool fallen = player && player->IsDefeated();
        if (winning && !winning_) {
            std::printf("frame %ld: win\n", frame);
        }
        if (fallen && !fallen_) {
            std::printf("frame %ld: fall\n", frame);
        }
        if (StarCount != stars_) {
            std::printf("frame %ld: stars %d\n", frame, StarCount);
        }
        winning_ = winning;
        fallen_ = fallen;
        stars_ = StarCount;
    }

private:
    bool winning_ = false;
    bool fallen_ = false;
    std::int32_t stars_ = 0;
};

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
    double step = 1.0 / 60.0;
    double simulationStep = kGameFrameTime;
    std::string input;
    bool solutions = false;
    bool memory = false;
    bool sound = false;
    bool drawSizes = false;
    bool menus = false;
};

// The process's resident memory now and at its peak, in KiB (0 where /proc cannot tell).
long ResidentKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::strtol(line.c_str() + std::string(field).size(), nullptr, 10);
        }
    }
    return 0;
}

// A length of time from 0 (excluded) to 1 s, or "game" for the game's frame length.
std::string ReadSeconds(const std::string& value, double& seconds) {
    if (value == "game") {
        seconds = kGameFrameTime;
        return {};
    }
    char* end = nullptr;
    seconds = std::strtod(value.c_str(), &end);
    const bool ok = !value.empty() && *end == '\0' && seconds > 0.0 && seconds <= 1.0;
    return ok ? std::string() : "\"" + value + "\" is not a length of time";
}

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
    line.AddSwitch("--collisions", "print each frame's Collision messages", settings.collisions);
    line.AddSwitch("--positions", "print every live object's position each frame",
                   settings.positions);
    line.Add({"--input", "<file.input>", "play this controller recording into gamepad 0",
              [&](const std::string& value) {
                  settings.input = value;
                  return std::string();
              }});
    line.AddSwitch("--solutions", "play each level's own solution as the game reaches it",
                   settings.solutions);
    line.AddSwitch("--memory", "print resident memory as each level starts, and the peak",
                   settings.memory);
    line.AddSwitch("--sound", "play the sound on the audio device, frames held to real time",
                   settings.sound);
    line.AddSwitch("--draw-sizes", "print how big each sheet's frames were drawn, at the end",
                   settings.drawSizes);
    line.AddSwitch("--menus", "open every menu screen in turn once the first level runs",
                   settings.menus);
    line.Add({"--step", "<seconds|game>",
              "drawn frame length (default 1/60; game: the capped 1/63)",
              [&](const std::string& value) { return ReadSeconds(value, settings.step); }});
    line.Add(
        {"--sim-step", "<seconds|game>", "simulation step (default game: 1/63)",
         [&](const std::string& value) { return ReadSeconds(value, settings.simulationStep); }});
    return line;
}

// Prints what one message read by a step says, and follows the level the game is in.
void Report(const Message& message, long frame, const Settings& settings, RecordingFeed& feed,
            bool& levelRunning, bool& reached) {
    if (const auto* started = As<LevelStartedMessage>(message)) {
        std::printf("frame %ld: LevelStarted %s\n", frame, started->levelName.c_str());
        if (settings.memory) {
            std::printf("frame %ld: resident %ld KiB\n", frame, ResidentKiB("VmRSS:"));
        }
        if (settings.solutions) {
            feed.PlaySolutionOf(LevelNumber(started->levelName).value_or(-1));
            levelRunning = false;
        }
        reached = reached || (settings.until &&
                              started->levelName == LevelManager::LevelTable()[*settings.until]);
    } else if (message.type == MessageType::LevelObjectsLoaded) {
        levelRunning = true;
    } else if (const auto* change = As<ChangeLevelMessage>(message)) {
        std::printf("frame %ld: ChangeLevel %d\n", frame, change->target);
    } else if (const auto* hit = As<CollisionMessage>(message); hit && settings.collisions) {
        std::printf("frame %ld: Collision %s %s %s\n", frame, CollisionKindName(hit->kind),
                    NameOf(hit->objectA).c_str(), NameOf(hit->objectB).c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    Settings settings;
    const tools::CommandLine line = MakeCommandLine(settings);
    std::vector<std::string> positionals;
    if (const auto status = line.StartWithAssets(argc, argv, positionals)) {
        return *status;
    }
    const std::string startFile = Assets::PathOf(LevelManager::LevelTable()[settings.startLevel]);
    if (!std::filesystem::is_regular_file(startFile)) {
        std::cerr << "headless_runner: no level file \"" << startFile << "\"\n";
        return 2;
    }
    LevelManager::SetStartLevel(settings.startLevel);
    platform::Services services = platform::MakeHeadlessServices(settings.step);
    RecordedPad* recordedPad = nullptr;
    if (settings.solutions) {
        auto pad = std::make_unique<RecordedPad>();
        recordedPad = pad.get();
        services.gamepads = std::move(pad);
    } else if (!settings.input.empty()) {
        auto pad = std::make_unique<RecordedPad>();
        if (!pad->Open(settings.input)) {
            std::cerr << "headless_runner: cannot open the recording \"" << settings.input
                      << "\"\n";
            return 2;
        }
        recordedPad = pad.get();
        services.gamepads = std::move(pad);
    }
    FrameRateController::UseStep(settings.simulationStep);
    if (settings.sound) {
        services.audio = platform::OpenAudioDevice();
    }
    Core core(std::move(services));
    LoadGameData(core);
    RecordingFeed feed(recordedPad);
    PlayerEvents events;
    tools::DrawCensus census;
    tools::MenuTour menus;
    std::size_t peakPictureBytes = DecodedTextureBytes();
    bool levelRunning = false;
    bool reached = false;
    const auto runStart = std::chrono::steady_clock::now();
    const std::chrono::duration<double> frameLength(settings.step);
    long frame = 1;

    core.SetStepHooks({[&] { feed.BeforeStep(frame, levelRunning); },
                       [&] {
                           events.AfterStep(frame);
                           for (const auto& message : MessagingSystem::GetMessages()) {
                               Report(*message, frame, settings, feed, levelRunning, reached);
                           }
                       }});
    for (; frame <= settings.frames && isRunning && !reached; ++frame) {
        if (settings.sound) {
            std::this_thread::sleep_until(runStart + static_cast<double>(frame) * frameLength);
        }
        core.Update();
        peakPictureBytes = std::max(peakPictureBytes, DecodedTextureBytes());
        if (settings.drawSizes) {
            census.Observe(core.Graphics());
        }
        if (settings.menus) {
            menus.AfterFrame(levelRunning);
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
    if (settings.memory) {
        std::printf("peak resident %ld KiB\n", ResidentKiB("VmHWM:"));
        std::printf("peak pictures %zu KiB\n", peakPictureBytes / 1024);
    }
    if (settings.drawSizes) {
        census.Print();
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
