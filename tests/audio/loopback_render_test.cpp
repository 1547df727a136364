// What a player hears: the game's own sound events and files, played by the engine frame by frame
// through OpenAL Soft's loopback device, which mixes into memory, so these run on machines without
// a sound card. Each frame of 1/60 s renders 1/60 s of sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "audio/audio_system.h"
#include "core/clock.h"
#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "platform/openal/loopback_device.h"
#include "support/asset_folder.h"
#include "support/gameplay_scene.h"
#include "support/headless_engine.h"

namespace {

using MessagingSystem::Send;
using Pcm = std::vector<std::int16_t>;  // interleaved left, right

constexpr int kRate = 44100;
constexpr int kFrameSamples = kRate / 60;
// OpenAL Soft dithers its 16-bit output: silence is a sample or two either side of zero.
constexpr int kSilence = 4;
constexpr int kAudible = 1000;
const std::string kGameMusic = "Music/In_Game_Music_01";
const std::string kMenuMusic = "Music/Start_Menu_Music";
const std::string kHeavyWind = "SFX/Wind_Heavy";

// The lines of the game's own event bank for `events`.
std::string GameBank(const std::set<std::string>& events) {
    std::ifstream file(std::string(VORL_SOURCE_DIR) + "/assets/SoundBank");
    std::string bank;
    for (std::string line; std::getline(file, line);) {
        std::istringstream words(line);
        std::string path;
        if (words >> path && events.contains(path)) {
            bank += line + "\n";
        }
    }
    EXPECT_EQ(std::count(bank.begin(), bank.end(), '\n'), static_cast<long>(events.size()));
    return bank;
}

int Peak(const Pcm& pcm, std::size_t from = 0, std::size_t to = SIZE_MAX) {
    int peak = 0;
    for (std::size_t i = from; i < std::min(to, pcm.size()); ++i) {
        peak = std::max(peak, std::abs(static_cast<int>(pcm[i])));
    }
    return peak;
}

// Sample-to-sample steps of each channel of samples [from, to) (interleaved indices).
std::vector<int> Steps(const Pcm& pcm, std::size_t from, std::size_t to) {
    std::vector<int> steps;
    for (std::size_t i = std::max<std::size_t>(from, 2); i < std::min(to, pcm.size()); ++i) {
        steps.push_back(std::abs(pcm[i] - pcm[i - 2]));
    }
    return steps;
}

int Percentile99(std::vector<int> steps) {
    std::sort(steps.begin(), steps.end());
    return steps.empty() ? 0 : steps[steps.size() * 99 / 100];
}

// The last sample of `pcm` above silence (interleaved index); npos when none.
std::size_t LastSound(const Pcm& pcm) {
    for (std::size_t i = pcm.size(); i-- > 0;) {
        if (std::abs(pcm[i]) > kSilence) {
            return i;
        }
    }
    return std::string::npos;
}
// The engine on a loopback device with a bank of the game's own events and files.
class Loopback : public testing::Test {
protected:
    void Start(const std::string& bank) {
        auto device = platform::OpenLoopbackAudioDevice(kRate);
        if (!device) {
            GTEST_SKIP() << "this OpenAL Soft has no loopback device";
        }
        device_ = device.get();
        engine_.reset();
        assets_.reset();
        assets_ = std::make_unique<testing_support::TempAssets>();
        assets_->Write("SoundBank", bank);
        assets_->ShareFolder("Sounds",
                             std::filesystem::path(VORL_SOURCE_DIR) / "assets" / "Sounds");
        platform::Services services = platform::MakeHeadlessServices();
        services.audio = std::move(device);
        engine_ = std::make_unique<testing_support::HeadlessEngine>(std::move(services));
    }

    // Runs the engine for `seconds`, rendering each frame's sound as the frame's steps last.
    // `frame` runs one frame of a game of the test's own instead of the engine's.
    Pcm Listen(double seconds, const std::function<void()>& frame = nullptr) {
        Pcm out;
        for (int step = 0; step < static_cast<int>(seconds * 60.0 + 0.5);) {
            frame ? frame() : engine_->RunFrames(1);
            const int steps = std::max(1, FrameRateController::StepsDue());
            step += steps;
            const Pcm piece = platform::RenderLoopback(*device_, steps * kFrameSamples);
            out.insert(out.end(), piece.begin(), piece.end());
        }
        return out;
    }
    AudioSystem& Audio() { return *engine_->core().Get<AudioSystem>("AudioSystem"); }
    double Seconds(const std::string& event) {
        return device_->PlaybackSeconds(Audio().Layer().VoiceOf(Audio().Events().at(event)));
    }

    // The engine goes before its assets: members end in reverse order.
    std::unique_ptr<testing_support::TempAssets> assets_;
    platform::AudioDevice* device_ = nullptr;
    std::unique_ptr<testing_support::HeadlessEngine> engine_;
};

TEST_F(Loopback, AJumpIsHeard) {
    Start(GameBank({"SFX/Player_Jump_01"}));
    EXPECT_LE(Peak(Listen(0.1)), kSilence);
    Send<PlaySoundMessage>("SFX/Player_Jump_01");
    EXPECT_GT(Peak(Listen(0.3)), kAudible);
}

// Paused, or its device lost and back, the music goes on where it was.
TEST_F(Loopback, MusicResumesWhereItStoppedAfterAPauseOrALostDevice) {
    Start(GameBank({kMenuMusic}));
    EXPECT_LE(Peak(Listen(0.5)), kSilence) << "the menu's music waits for the pause menu";
    Send<TogglePauseMessage>();
    EXPECT_GT(Peak(Listen(1.0)), kAudible);
    Send<PauseSoundMessage>(kMenuMusic);
    Listen(0.4);  // its fade
    const double pausedAt = Seconds(kMenuMusic);
    EXPECT_GT(pausedAt, 1.0);
    EXPECT_LE(Peak(Listen(1.0)), kSilence);
    EXPECT_NEAR(Seconds(kMenuMusic), pausedAt, 0.001);

    Send<ResumeMessage>();  // flips it back on
    EXPECT_GT(Peak(Listen(0.5)), kAudible);
    const double lostAt = Seconds(kMenuMusic);
    EXPECT_NEAR(lostAt, pausedAt + 0.5, 0.05);

    testing::internal::CaptureStderr();
    platform::SetLoopbackConnected(*device_, false);
    device_->Update(1.0 / 60.0);
    EXPECT_TRUE(platform::RenderLoopback(*device_, 100).empty());  // nothing left to play on
    for (int second = 0; second < 5; ++second) {
        device_->Update(1.0);  // retries meet no device yet
    }
    platform::SetLoopbackConnected(*device_, true);
    for (int second = 0; second < 3; ++second) {
        device_->Update(1.0);
    }
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("lost"), std::string::npos);
    EXPECT_NE(said.find("back"), std::string::npos);

    EXPECT_GT(Peak(Listen(0.5)), kAudible);
    EXPECT_NEAR(Seconds(kMenuMusic), lostAt + 0.5, 0.05);
}

// The in-game music streams: each level load moves it to its new state's section on the next bar
// line, and it plays on through the sections and round its loop's end.
TEST_F(Loopback, LevelLoadsMoveTheMusicBetweenItsSectionsOnTheBar) {
    Start(GameBank({kGameMusic}));
    const EventDescription& music = *Audio().Layer().FindEvent(kGameMusic);
    const EventParameter& states = *music.FindParameter("StateChange");
    ASSERT_GT(music.barSeconds, 0.0f);
    EXPECT_GT(Peak(Listen(1.0)), kAudible);
    EXPECT_NEAR(Seconds(kGameMusic), 1.0, 0.05);

    Send<LevelObjectsLoadedMessage>();
    Listen(0.5);
    float value = 0.0f;
    ASSERT_TRUE(
        Audio().Layer().GetParameter(Audio().Events().at(kGameMusic), "StateChange", value));
    const float section = *states.StateNearest(value).sectionSeconds;
    ASSERT_NE(section, 0.0f) << "the step goes to another section";
    // The jump waits for the bar line after what is already queued.
    EXPECT_GT(Peak(Listen(music.barSeconds + 1.0)), kAudible);
    const double at = Seconds(kGameMusic);
    EXPECT_GE(at, section);
    EXPECT_LT(at, section + music.barSeconds + 1.0);
}

TEST_F(Loopback, AMissingSoundFileIsNamedOnceAndItsEventsStaySilent) {
    testing_support::CapturedDiagnostics diagnostics;
    Start("SFX/Gone oneshot 1 missing.ogg\nSFX/AlsoGone loop 1 missing.ogg\n");
    ASSERT_EQ(diagnostics.Lines().size(), 1u);
    EXPECT_NE(diagnostics.Lines()[0].find("missing.ogg"), std::string::npos);

    Send<PlaySoundMessage>("SFX/Gone");
    Send<PlaySoundMessage>("SFX/AlsoGone");
    EXPECT_LE(Peak(Listen(0.2)), kSilence);
    EXPECT_TRUE(Audio().Events().contains("SFX/AlsoGone"));
}

// A fan's wind belongs to the player being in it, heard on the fan's side. (Its end with the pause
// menu or the level: AudioRules.WorldLoopsEndWithTheWorldAndStartOnlyWhenItRunsAgain, and the
// fade table's world loop.)
TEST_F(Loopback, AFansWindIsHeardOnTheFansSide) {
    auto device = platform::OpenLoopbackAudioDevice(kRate);
    if (!device) {
        GTEST_SKIP() << "this OpenAL Soft has no loopback device";
    }
    device_ = device.get();
    const std::string effects = GameBank({kHeavyWind, "SFX/Wind_Light", "Wind_01"});
    testing_support::GameplayScene game(R"(
Crate 0 0 2000 20
  RigidBody2D mass 0.0 state 0
  BoxCollider2D
Fan 300 200 60 200
  RigidBody2D mass 0.0 state 0
  BoxCollider2D mHollow true
  FanComponent speed 2000.0
)" + testing_support::PlayerLine(300, 60),
                                        {}, {}, 2, {}, {std::move(device), effects});
    auto balance = [](const Pcm& pcm) {  // right over left
        double left = 0.0, right = 0.0;
        for (std::size_t i = 0; i + 1 < pcm.size(); i += 2) {
            left += std::abs(pcm[i]);
            right += std::abs(pcm[i + 1]);
        }
        return right / std::max(left, 1.0);
    };

    const Pcm wind = Listen(1.0, [&game] { game.Frames(1); });
    EXPECT_GT(Peak(wind, wind.size() / 2), kAudible) << "the player stands in the fan's wind";
    EXPECT_GT(balance(wind), 1.5) << "the fan stands right of the camera's centre";
}

// Every change the player makes or a level makes to what plays fades in ten milliseconds or more:
// in the first 50 ms after it no sample steps further than the music's own 99th percentile step,
// also on a slow machine whose every frame runs five steps back to back before the device mixes
// again. Where a sound goes out into silence, the fade lasts a tenth of a second or more and where
// it meets silence no sample steps further either: a cut steps by the whole height of the wave.
TEST_F(Loopback, EveryChangeOfWhatPlaysFadesOverTenMillisecondsAtLeast) {
    struct Change {
        const char* name;
        std::function<void()> before;
        std::function<void()> change;
        // Everything falls silent: the fade's last moment must not click either.
        bool fallsSilent = false;
        // The music starts again from its beginning.
        bool restarts = false;
        // The events of the bank; the heavy wind, a world loop, plays from the start.
        std::set<std::string> bank = {kGameMusic, kMenuMusic};
    };
    auto nothing = [] {};
    const std::vector<Change> changes = {
        {"paused", nothing, [] { Send<TogglePauseMessage>(); }},
        {"resumed", [] { Send<TogglePauseMessage>(); }, [] { Send<ResumeMessage>(); }},
        {"muted", nothing, [] { Send<ToggleMute1Message>(true); }, true},
        {"unmuted", [] { Send<ToggleMute1Message>(true); },
         [] { Send<ToggleMute1Message>(false); }},
        {"restarted by a button's hover", nothing, [] { Send<RestartSoundsMessage>(); }, false,
         true},
        // The pause menu opening under the pointer: its button's hover restarts what fades out.
        {"paused under the pointer", nothing,
         [] {
             Send<TogglePauseMessage>();
             Send<RestartSoundsMessage>();
         }},
        {"level changed", nothing,
         [] {
             Send<ClearLevelMessage>();
             Send<LevelObjectsLoadedMessage>();
         }},
        {"paused without pause-menu music",
         nothing,
         [] { Send<TogglePauseMessage>(); },
         true,
         false,
         {kGameMusic}},
        {"a level cleared under a world loop",
         nothing,
         [] { Send<ClearLevelMessage>(); },
         true,
         false,
         {kHeavyWind}},
    };
    for (const int stepsPerFrame : {1, 5}) {
        for (const Change& c : changes) {
            SCOPED_TRACE(std::string(c.name) + ", steps a frame: " + std::to_string(stepsPerFrame));
            Start(GameBank(c.bank));
            if (IsSkipped()) {
                return;
            }
            FrameRateController::UseClock(timing::MakeFixedStepClock(stepsPerFrame / 60.0));
            if (c.bank.contains(kHeavyWind)) {
                Send<PlaySoundMessage>(kHeavyWind);
            }
            const Pcm music = Listen(1.5);
            ASSERT_GT(Peak(music, music.size() / 3), kAudible);
            c.before();
            Listen(1.0);
            c.change();
            const Pcm after = Listen(0.5);
            if (c.restarts) {
                Listen(0.5);
                EXPECT_LT(Seconds(kGameMusic), 1.0) << "after 3.5 s of music";
            }
            const int ownStep = Percentile99(Steps(music, music.size() / 3, music.size()));
            const std::vector<int> steps =
                Steps(after, 0, static_cast<std::size_t>(0.05 * 2 * kRate));
            EXPECT_LE(*std::max_element(steps.begin(), steps.end()), ownStep);
            if (c.fallsSilent) {
                // The last moment of the fade: the device stops only a sound already silent.
                Pcm end = after;
                const Pcm more = Listen(1.0);
                end.insert(end.end(), more.begin(), more.end());
                const std::size_t last = LastSound(end);
                ASSERT_NE(last, std::string::npos);
                EXPECT_GT(last, static_cast<std::size_t>(0.1 * 2 * kRate));
                EXPECT_LT(last, static_cast<std::size_t>(0.75 * 2 * kRate)) << "fell silent";
                const std::size_t from = last > 2 * kRate / 20 ? last - 2 * kRate / 20 : 0;
                const std::vector<int> edge = Steps(end, from, last + 2 * kRate / 100);
                EXPECT_LE(*std::max_element(edge.begin(), edge.end()), ownStep);
            }
        }
    }
}

}  // namespace
