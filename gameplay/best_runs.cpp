#include "gameplay/best_runs.h"

#include <array>
#include <iostream>
#include <set>
#include <string>
#include <system_error>

#include "core/messaging.h"
#include "core/screen.h"
#include "gameplay/gameplay_support.h"
#include "gameplay/player_control_component.h"
#include "gameplay/run_state.h"
#include "graphics/screen_text.h"
#include "input/bindings.h"
#include "input/input_system.h"
#include "meta/assets.h"
#include "meta/data_diagnostics.h"
#include "meta/safe_file.h"
#include "objects/level_manager.h"

namespace BestRuns {
namespace {

namespace fs = std::filesystem;

constexpr int kFirstLevel = 2;
constexpr int kLastLevel = 20;
constexpr std::uint32_t kTagMask = 0xFFFF0000u;
constexpr std::uint16_t kKeyMask = 0xFFFF;
// What the gameplay reads of the pad; the rest of a replay's pad is the real one, for the menus.
constexpr std::uint16_t kPadGameplay =
    PadButton::DPadLeft | PadButton::DPadRight | PadButton::A | PadButton::X;
// How long the end of a watch stays on screen, in steps of 1/63 s.
constexpr int kMatchedLinger = 63;
// Shorter than the win spin, should the character roll on into the goal.
constexpr int kMismatchLinger = 2 * 63;

// One action of the keyboard's and the bit it takes in a record's key part; `pressed`: read as
// pressed this step, not held. The keys are the player's bindings, so a run kept under one layout
// replays under another.
struct KeyControl {
    Bindings::Action action;
    std::uint16_t button;
    bool pressed;
};
constexpr KeyControl kKeyControls[] = {
    {Bindings::Action::MoveLeft, PadButton::DPadLeft, false},
    {Bindings::Action::MoveRight, PadButton::DPadRight, false},
    {Bindings::Action::Down, PadButton::DPadDown, false},
    {Bindings::Action::Jump, PadButton::A, true},
    {Bindings::Action::SwitchForm, PadButton::X, true},
};

struct Watching {
    int level = 0;
    Run run;
    std::size_t fed = 0;
    bool started = false;
    bool ended = false;
    int linger = 0;
    std::int32_t from = 0;
    bool quitAfter = false;
    RunSnapshot play;
};

struct State {
    Run attempt;
    bool recording = false;
    std::optional<Watching> watch;
    Outcome outcome = Outcome::None;
    std::function<void()> goBack;
    std::set<std::string> reported;
};

State& S() {
    static State state;
    return state;
}

void Damaged(const fs::path& file, const std::string& why) {
    if (S().reported.insert(file.string() + why).second) {
        DataDiagnostics::Report(file.string(), 0, why + "; it counts as no best run");
    }
}

bool PlayerWon() {
    const PlayerControlComponent* player = gameplay::LevelPlayer();
    return player && player->IsWinning();
}

void PressKeys(std::uint16_t buttons) {
    const Bindings::Table& bindings = Bindings::Current();
    auto force = [](const std::array<int, 2>& keys, bool primaryDown) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (keys[i] != 0) {
                InputSystem::ForceKey(keys[i], i == 0 && primaryDown);
            }
        }
    };
    for (const KeyControl& control : kKeyControls) {
        force(Bindings::Of(bindings, control.action).keys, (buttons & control.button) != 0);
    }
    // The restart key would start the watched level again.
    force(Bindings::Of(bindings, Bindings::Action::RestartLevel).keys, false);
}

// This step's controls from `record`; a neutral record once the run is over.
void Feed(const platform::ControllerState& record) {
    platform::ControllerState pad = record;
    pad.packetNumber = 0;
    pad.buttons = static_cast<std::uint16_t>((record.buttons & kPadGameplay) |
                                             (InputSystem::PadState(0).buttons & ~kPadGameplay));
    InputSystem::ReplacePadState(0, pad);
    PressKeys(static_cast<std::uint16_t>(record.packetNumber & kKeyMask));
}

void Label(const std::string& text, int y) {
    ScreenText::Set(kLabelOwner, {{text, Screen::kWidth / 2, y, true, 0xFFFFFFFFu}});
}

void End(Outcome outcome) {
    Watching& w = *S().watch;
    w.ended = true;
    S().outcome = outcome;
    const bool matched = outcome == Outcome::Matched;
    w.linger = matched ? kMatchedLinger : kMismatchLinger;
    if (!matched) {
        Label(kMismatch, Screen::kHeight / 2 - ScreenText::kLineHeight);
    }
    std::cout << "best run of level " << w.level << ": "
              << (matched ? "the goal reached on its last step, " + std::to_string(w.fed)
                          : std::string("no longer matches, after ") + std::to_string(w.fed))
              << " steps" << std::endl;
}

// A request for the level being played is none: that level starts again instead.
void GoTo(std::int32_t level) {
    MessagingSystem::Send<ChangeLevelMessage>(
        level == LevelManager::GetCurrentLevel() ? LevelManager::kRestart : level);
}

void Finish() {
    State& s = S();
    const Watching w = std::move(*s.watch);
    s.watch.reset();
    ScreenText::Clear(kLabelOwner);
    // A key the replay pressed gets no release from the keyboard.
    PressKeys(0);
    RestoreRun(w.play);
    if (w.quitAfter) {
        MessagingSystem::Send<ChangeLevelMessage>(LevelManager::kQuit);
    } else if (s.goBack) {
        s.goBack();
    } else {
        GoTo(w.from);
    }
}

void LevelStarted(std::int32_t level) {
    State& s = S();
    s.attempt.clear();
    s.recording = false;
    if (!s.watch) {
        s.recording = level >= kFirstLevel && level <= kLastLevel;
        return;
    }
    Watching& w = *s.watch;
    if (!w.started) {
        // A change asked for before the watch's own is passed by.
        if (level == w.level) {
            w.started = true;
            Label("Replay", 14);
        }
    } else if (!w.ended && level == w.level) {
        End(Outcome::NoLongerMatches);  // a fall: the recorded attempt had none
    } else {
        // The game went elsewhere (the character rolled on into the goal after a mismatch).
        if (!w.ended) {
            s.outcome = Outcome::Stopped;
        }
        Finish();
    }
}

void WatchStep(bool simulating) {
    Watching& w = *S().watch;
    if (!w.started) {
        return;
    }
    if (!w.ended) {
        if (PlayerWon()) {
            End(w.fed == w.run.size() ? Outcome::Matched : Outcome::NoLongerMatches);
        } else if (w.fed == w.run.size()) {
            End(Outcome::NoLongerMatches);
        }
    }
    if (w.ended && --w.linger <= 0) {
        Finish();
        return;
    }
    if (simulating) {
        Feed(w.ended ? platform::ControllerState{} : w.run[w.fed++]);
    }
}

void RecordStep(bool simulating) {
    State& s = S();
    if (PlayerWon()) {
        s.recording = false;
        Offer(LevelManager::GetCurrentLevel(), s.attempt);
        s.attempt.clear();
        return;
    }
    if (!simulating) {
        return;
    }
    if (InputSystem::IsPlayingBack() || s.attempt.size() >= kMostSteps) {
        s.recording = false;
        s.attempt.clear();
        return;
    }
    platform::ControllerState record = InputSystem::PadState(0);
    record.packetNumber = kTag | KeyboardAsPad();
    s.attempt.push_back(record);
}

bool Arm(int level, bool quitAfter) {
    std::optional<Run> run = Load(level);
    if (!run) {
        return false;
    }
    Watching w;
    w.level = level;
    w.run = std::move(*run);
    w.from = LevelManager::GetCurrentLevel();
    w.quitAfter = quitAfter;
    w.play = SaveRun();
    State& s = S();
    s.watch = std::move(w);
    s.outcome = Outcome::None;
    s.recording = false;
    s.attempt.clear();
    return true;
}

}  // namespace

std::uint16_t KeyboardAsPad() {
    std::uint16_t buttons = 0;
    for (const KeyControl& control : kKeyControls) {
        const bool down = control.pressed ? Bindings::KeysTriggered(control.action)
                                          : Bindings::KeysDown(control.action);
        if (down) {
            buttons |= control.button;
        }
    }
    return buttons;
}

fs::path FileOf(int level) {
    const fs::path& user = Assets::Current().user;
    if (user.empty()) {
        return {};
    }
    return user / "BestRuns" / ("level" + std::to_string(level) + ".input");
}

std::optional<Run> Load(int level) {
    const fs::path file = FileOf(level);
    std::error_code error;
    if (file.empty() || !fs::exists(file, error)) {
        return std::nullopt;
    }
    std::string bytes;
    std::string why;
    if (!SafeFile::ReadAll(file, &bytes, &why)) {
        Damaged(file, "cannot be read (" + why + ")");
        return std::nullopt;
    }
    const std::size_t size = InputRecording::kRecordSize;
    if (bytes.empty() || bytes.size() % size != 0 || bytes.size() / size > kMostSteps) {
        Damaged(file, "its " + std::to_string(bytes.size()) + " bytes are not 1 to " +
                          std::to_string(kMostSteps) + " whole " + std::to_string(size) +
                          "-byte records");
        return std::nullopt;
    }
    Run run;
    run.reserve(bytes.size() / size);
    for (std::size_t at = 0; at < bytes.size(); at += size) {
        InputRecording::Record record;
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), size, record.begin());
        run.push_back(InputRecording::Decode(record));
        if ((run.back().packetNumber & kTagMask) != kTag) {
            Damaged(file, "byte " + std::to_string(at) + ": not a best run's record");
            return std::nullopt;
        }
    }
    return run;
}

bool Has(int level) {
    const fs::path file = FileOf(level);
    std::error_code error;
    if (file.empty() || !fs::exists(file, error)) {
        return false;
    }
    const auto bytes = fs::file_size(file, error);
    const std::size_t size = InputRecording::kRecordSize;
    if (error || bytes == 0 || bytes % size != 0 || bytes / size > kMostSteps) {
        Damaged(file, "its " + std::to_string(error ? 0 : bytes) + " bytes are not 1 to " +
                          std::to_string(kMostSteps) + " whole " + std::to_string(size) +
                          "-byte records");
        return false;
    }
    return true;
}

bool Offer(int level, const Run& run) {
    const fs::path file = FileOf(level);
    if (run.empty() || file.empty()) {
        return false;
    }
    if (const std::optional<Run> kept = Load(level); kept && kept->size() <= run.size()) {
        return false;
    }
    std::string bytes;
    bytes.reserve(run.size() * InputRecording::kRecordSize);
    for (const platform::ControllerState& state : run) {
        const InputRecording::Record record = InputRecording::Encode(state);
        bytes.append(reinterpret_cast<const char*>(record.data()), record.size());
    }
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    std::string why;
    if (!SafeFile::Replace(file, bytes, &why)) {
        DataDiagnostics::Report(file.string(), 0, "the best run was not kept: " + why);
        return false;
    }
    return true;
}

bool Watch(int level) {
    if (!Arm(level, false)) {
        return false;
    }
    GoTo(level);
    return true;
}

bool WatchAtLaunch(int level) {
    if (!Arm(level, true)) {
        return false;
    }
    LevelManager::SetStartLevel(level);
    return true;
}

bool IsWatching() {
    return S().watch.has_value();
}

void StopWatching() {
    if (!S().watch) {
        return;
    }
    if (!S().watch->ended) {
        S().outcome = Outcome::Stopped;
    }
    Finish();
}

void SetReturn(std::function<void()> goBack) {
    S().goBack = std::move(goBack);
}

Outcome LastOutcome() {
    return S().outcome;
}

void Step(bool simulating) {
    if (MessagingSystem::WasSent(MessageType::LevelStarted)) {
        LevelStarted(LevelManager::GetCurrentLevel());
    }
    if (S().watch) {
        WatchStep(simulating);
    } else if (S().recording) {
        RecordStep(simulating);
    }
}

void Reset() {
    S() = State{};
    ScreenText::Clear(kLabelOwner);
}

}  // namespace BestRuns
