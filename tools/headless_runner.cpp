// headless_runner: runs the real engine without window, drawing or sound, on the fixed-step clock
// (1/60 s per frame unless --step says otherwise), from a chosen level, and prints what happens.
//
//   headless_runner <assets-folder> [--level <n|name>] [--frames <count>] [--until <n|name>]
//                   [--collisions] [--positions] [--input <file.input>] [--step <seconds|game>]
//
// Prints one line per level transition ("frame F: LevelStarted <name>", "frame F: ChangeLevel
// <target>"), and on request each frame's Collision messages and the position of every live
// object. A frame's lines list the messages that frame read, i.e. those sent the frame before.
// The player's events are reported as they happen: "frame F: win" (the win spin starts), "frame
// F: fall" (the player dropped below its "levelReset"), "frame F: stars N" (the star count
// changed).
//
// --input plays a controller recording ("*.input", 16-byte records) into gamepad 0, one record a
// frame from the first frame the level runs with the pad connected (the pad is found a tenth of a
// second after start-up) and on through any later level; "frame F: recording ended" marks its
// end, after which the pad rests. --step sets the frame length; "game" is the length of
// the real game's capped frame (1/63 s), the one to measure feel and solutions at.
// Runs --frames frames (default 600), or stops early when the --until level starts or the game
// quits. Exit status: 0, or 1 when --until was given and the level never started, 2 for usage.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "core/core.h"
#include "core/messaging.h"
#include "gameplay/player_control_component.h"
#include "gameplay/run_state.h"
#include "input/input_recording.h"
#include "input/input_system.h"
#include "meta/assets.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "objects/object_system.h"
#include "platform/services.h"

namespace {

int Usage() {
    std::cerr << "usage: headless_runner <assets-folder> [--level <n|name>] [--frames <count>]\n"
                 "                       [--until <n|name>] [--collisions] [--positions]\n"
                 "                       [--input <file.input>] [--step <seconds|game>]\n";
    return 2;
}

// ---- Driving the player: a recording into gamepad 0, the frame length, the player's events.

// The real game's frame: the frame cap makes every frame last a little over 1/63 s.
constexpr double kGameFrameTime = 1.0 / 63.0;

struct PlayOptions {
    double step = 1.0 / 60.0;
    std::string input;
};

// Takes --input and --step (and their values) from argv at i; false when argv[i] is neither.
// `error` is set for a bad value.
bool ParsePlayOption(int argc, char** argv, int& i, PlayOptions& options, bool& error) {
    const std::string arg = argv[i];
    if ((arg != "--input" && arg != "--step") || i + 1 >= argc) {
        return false;
    }
    const std::string value = argv[++i];
    if (arg == "--input") {
        options.input = value;
        return true;
    }
    if (value == "game") {
        options.step = kGameFrameTime;
        return true;
    }
    char* end = nullptr;
    options.step = std::strtod(value.c_str(), &end);
    error = *end != '\0' || !(options.step > 0.0 && options.step <= 1.0);
    return true;
}

// Gamepad 0 playing a recording: connected all along; the runner moves it on one record per
// frame once started. The other pads are absent.
class RecordedPad : public platform::Gamepads {
public:
    bool Open(const std::string& path) {
        in_.open(path, std::ios::binary);
        path_ = path;
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

// Feeds the recording, from the first frame the level runs with the pad found.
class RecordingFeed {
public:
    explicit RecordingFeed(RecordedPad* pad) : pad_(pad) {}
    // Before each frame; `levelRunning` once the level's objects are live.
    void BeforeFrame(long frame, bool levelRunning) {
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
    void AfterFrame(long frame) {
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
    PlayOptions play;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (bool bad = false; ParsePlayOption(argc, argv, i, play, bad)) {
            if (bad) {
                return Usage();
            }
        } else if (arg == "--level" && hasValue) {
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
    platform::Services services = platform::MakeHeadlessServices(play.step);
    RecordedPad* recordedPad = nullptr;
    if (!play.input.empty()) {
        auto pad = std::make_unique<RecordedPad>();
        if (!pad->Open(play.input)) {
            std::cerr << "headless_runner: cannot open the recording " << play.input << "\n";
            return 2;
        }
        recordedPad = pad.get();
        services.gamepads = std::move(pad);
    }
    Core core(std::move(services));
    LoadGameData(core);
    RecordingFeed feed(recordedPad);
    PlayerEvents events;
    bool levelRunning = false;

    bool reached = false;
    for (long frame = 1; frame <= frames && isRunning && !reached; ++frame) {
        feed.BeforeFrame(frame, levelRunning);
        core.Update();
        events.AfterFrame(frame);
        for (const auto& message : MessagingSystem::GetMessages()) {
            if (const auto* started = As<LevelStartedMessage>(*message)) {
                std::printf("frame %ld: LevelStarted %s\n", frame, started->levelName.c_str());
                reached =
                    reached || (until && started->levelName == LevelManager::LevelTable()[*until]);
            } else if (message->type == MessageType::LevelObjectsLoaded) {
                levelRunning = true;
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
