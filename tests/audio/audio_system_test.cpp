// The rules of the sound events as gameplay and menus rely on them, on a headless engine whose
// audio device records what it is asked to do.
#include "audio/audio_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "audio/audio_component.h"
#include "audio/sound_event_layer.h"
#include "core/messaging.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "support/asset_folder.h"
#include "support/headless_engine.h"

namespace {

using MessagingSystem::Send;
using platform::PcmSound;
using platform::SoundId;
using platform::VoiceId;
using platform::VoiceLayer;

// Silent unless told otherwise, and counts plays and stops; a looping voice sounds until stopped,
// a one-shot ends at once.
class RecordingAudioDevice : public platform::AudioDevice {
public:
    bool IsSilent() const override { return silent; }
    SoundId LoadSound(const PcmSound&) override { return ++lastSound; }
    SoundId LoadStreamedSound(const platform::EncodedSound&) override { return ++lastSound; }
    VoiceId Play(const std::vector<VoiceLayer>&, bool loop, float,
                 std::optional<float> pan) override {
        ++plays;
        pans.push_back(pan);
        if (loop) {
            looping.insert(lastVoice + 1);
        }
        return ++lastVoice;
    }
    void Stop(VoiceId voice) override { stops += static_cast<int>(looping.erase(voice)); }
    void SetPaused(VoiceId, bool) override {}
    void Rewind(VoiceId) override {}
    void SetGain(VoiceId, float) override {}
    void SetLayerGain(VoiceId, std::size_t layer, float gain) override {
        if (layer == 1) {
            secondLayerGains.push_back(gain);
        }
    }
    void SetPan(VoiceId, float) override {}
    void JumpTo(VoiceId, double, double) override {}
    bool IsPlaying(VoiceId voice) const override { return looping.contains(voice); }
    double PlaybackSeconds(VoiceId) const override { return 0.0; }

    bool silent = true;
    int plays = 0;
    int stops = 0;
    SoundId lastSound = 0;
    VoiceId lastVoice = 0;
    std::set<VoiceId> looping;
    std::vector<float> secondLayerGains;
    std::vector<std::optional<float>> pans;
};

constexpr const char* kBank =
    "SFX/Player_Jump_01 oneshot 0.5 jump.ogg\n"
    "SFX/Wind_Light loop 0.4 wind.ogg fade=0.1 space=world\n"
    "SFX/Star_Cannon_01 oneshot 0.5 cannon.ogg space=world\n"
    "Music/Start_Menu_Music loop 0.6 menu.ogg\n"
    "Music/In_Game_Music_01 loop 0.6 a.ogg b.ogg StateChange: start=0.2 fade=3 0=1/0 0.1=1/0 "
    "0.2=1/1 0.3=1/0 0.4=1/1 0.5=1/0 0.6=0/1\n";

const std::string kGame = "Music/In_Game_Music_01";
const std::string kMenu = "Music/Start_Menu_Music";

class AudioRules : public testing::Test {
protected:
    void SetUp() override { Start(); }
    void Start() {
        engine_.reset();
        assets_.Write("SoundBank", kBank);
        platform::Services services = platform::MakeHeadlessServices();
        auto device = std::make_unique<RecordingAudioDevice>();
        device_ = device.get();
        services.audio = std::move(device);
        engine_ = std::make_unique<testing_support::HeadlessEngine>(std::move(services));
        engine_->RunFrames(2);  // the start-up messages, then the music's first "StateChange"
    }

    AudioSystem& Audio() { return *engine_->core().Get<AudioSystem>("AudioSystem"); }
    bool Paused(const std::string& name) {
        return Audio().Layer().GetPaused(Audio().Events().at(name));
    }
    template <class T, class... Args>
    void SendAndRun(Args&&... args) {
        Send<T>(std::forward<Args>(args)...);
        engine_->RunFrames(1);
    }

    testing_support::TempAssets assets_;
    RecordingAudioDevice* device_ = nullptr;
    std::unique_ptr<testing_support::HeadlessEngine> engine_;
};

// A loop is one instance however often it is asked for. Stopped, it is held at full loudness for
// half a second (the light form bobbing at the top of a fan never dips), then fades; asked for
// again in its fade it comes back instead of starting over; only the fade's end stops the voice.
TEST_F(AudioRules, ALoopIsOneInstanceHeldThenFadedWhenStopped) {
    const int before = device_->plays;
    Send<PlaySoundMessage>("SFX/Wind_Light");
    SendAndRun<PlaySoundMessage>("SFX/Wind_Light");
    EXPECT_EQ(device_->plays - before, 1);
    const EventInstanceId wind = Audio().Events().at("SFX/Wind_Light");
    engine_->RunFrames(10);
    for (int bob = 0; bob < 4; ++bob) {
        SendAndRun<StopSoundMessage>("SFX/Wind_Light");
        for (int frame = 0; frame < 25; ++frame) {
            engine_->RunFrames(1);
            ASSERT_FLOAT_EQ(Audio().Layer().GainOf(wind), 1.0f);
        }
        SendAndRun<PlaySoundMessage>("SFX/Wind_Light");
    }
    SendAndRun<StopSoundMessage>("SFX/Wind_Light");
    engine_->RunFrames(31);
    EXPECT_FALSE(Audio().Events().contains("SFX/Wind_Light"));
    EXPECT_LT(Audio().Layer().GainOf(wind), 1.0f);
    SendAndRun<PlaySoundMessage>("SFX/Wind_Light");
    EXPECT_EQ(Audio().Events().at("SFX/Wind_Light"), wind);
    engine_->RunFrames(10);
    EXPECT_FLOAT_EQ(Audio().Layer().GainOf(wind), 1.0f);
    EXPECT_EQ(device_->plays - before, 1);
    EXPECT_EQ(device_->stops, 0);
    SendAndRun<StopSoundMessage>("SFX/Wind_Light");
    engine_->RunFrames(38);
    EXPECT_EQ(device_->stops, 1);
}

// A world loop lasts while its piece keeps asking and the world runs: a level clear, the pause
// menu or the editor stop it, and requests sent in the last frame before the world stopped do not
// bring it back; the next level or the return to the game lets the piece start it again.
TEST_F(AudioRules, WorldLoopsEndWithTheWorldAndStartOnlyWhenItRunsAgain) {
    struct Case {
        const char* name;
        std::function<void()> stop;
        std::function<void()> run;
    };
    const std::vector<Case> cases = {
        {"level change", [] { Send<ClearLevelMessage>(); },
         [] { Send<LevelObjectsLoadedMessage>(); }},
        {"pause menu", [] { Send<TogglePauseMessage>(); }, [] { Send<ResumeMessage>(); }},
        {"editor", [] { Send<EnterLevelEditorMessage>(); },
         [] { Send<LevelObjectsLoadedMessage>(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SendAndRun<PlaySoundMessage>("SFX/Wind_Light", Vector2D{100.0f, 0.0f});
        ASSERT_TRUE(Audio().Events().contains("SFX/Wind_Light"));
        c.stop();
        SendAndRun<PlaySoundMessage>("SFX/Wind_Light", Vector2D{100.0f, 0.0f});
        engine_->RunFrames(2);
        EXPECT_FALSE(Audio().Events().contains("SFX/Wind_Light"));
        EXPECT_TRUE(Audio().Events().contains(kGame)) << "the music is not the world's";
        c.run();
        SendAndRun<PlaySoundMessage>("SFX/Wind_Light", Vector2D{100.0f, 0.0f});
        engine_->RunFrames(1);
        EXPECT_TRUE(Audio().Events().contains("SFX/Wind_Light"));
    }
}

TEST_F(AudioRules, WorldSoundsArePannedByWhereTheyStandAndScreenSoundsAreNot) {
    device_->pans.clear();
    SendAndRun<PlaySoundMessage>("SFX/Star_Cannon_01", Vector2D{-600.0f, 0.0f});
    SendAndRun<PlaySoundMessage>("SFX/Star_Cannon_01");
    SendAndRun<PlaySoundMessage>("SFX/Player_Jump_01");
    ASSERT_EQ(device_->pans.size(), 3u);
    EXPECT_TRUE(device_->pans[0].has_value());  // its side: WorldPlacement, the fan's loopback
    EXPECT_EQ(device_->pans[1], std::optional<float>(0.0f)) << "no position: in the middle";
    EXPECT_FALSE(device_->pans[2].has_value()) << "heard as it is";
}

TEST(WorldPlacement, PansAcrossTheScreenAndSoftensWithDistance) {
    const Vector2D camera{1000.0f, 500.0f};
    struct Case {
        Vector2D at;
        float pan;
        float gain;
    };
    for (const Case& c : {Case{{1000, 500}, 0.0f, 1.0f}, Case{{1800, 500}, 0.7f, 0.8f},
                          Case{{200, 500}, -0.7f, 0.8f}, Case{{1000, 2100}, 0.0f, 0.5f},
                          Case{{5000, 500}, 0.9f, 0.14f}}) {
        const WorldPlacement placement = PlaceInWorld(c.at, camera);
        EXPECT_NEAR(placement.pan, c.pan, 0.01f) << c.at.x << ", " << c.at.y;
        EXPECT_NEAR(placement.gain, c.gain, 0.01f) << c.at.x << ", " << c.at.y;
    }
}

TEST_F(AudioRules, AOneShotPlayedTwicePlaysTwiceAndStoppingItDoesNothing) {
    const int before = device_->plays;
    Send<PlaySoundMessage>("SFX/Player_Jump_01");
    SendAndRun<PlaySoundMessage>("SFX/Player_Jump_01");
    EXPECT_EQ(device_->plays - before, 2);

    SendAndRun<StopSoundMessage>("SFX/Player_Jump_01");
    SendAndRun<PlaySoundMessage>("NotInTheBank");
    EXPECT_EQ(device_->stops, 0);
    EXPECT_EQ(device_->plays - before, 2);
    EXPECT_EQ(Audio().Events().size(), 2u);  // the two pieces of music only
}

// Which piece of music plays after each message: P toggles the pause menu, R resumes, M flips the
// first mute switch, N turns the second on, D is the sound device lost or back. A mute message
// flips its switch whatever its payload (the key's press or release): these send a release.
TEST_F(AudioRules, TheMusicOfWhereThePlayerIsPlaysUnlessMutedOrTheDeviceIsLost) {
    const struct {
        std::string messages;
        std::vector<std::string> playing;  // after each message
    } cases[] = {
        {"PR", {"menu", "game"}}, {"NPRPR", {"none", "none", "none", "none", "none"}},
        {"MM", {"none", "game"}}, {"PMM", {"menu", "none", "menu"}},
        {"DD", {"none", "game"}}, {"PDD", {"menu", "none", "menu"}},
        {"NN", {"none", "game"}},
    };
    const std::map<char, std::function<void()>> send = {
        {'P', [this] { SendAndRun<TogglePauseMessage>(); }},
        {'R', [this] { SendAndRun<ResumeMessage>(); }},
        {'M', [this] { SendAndRun<ToggleMute1Message>(false); }},
        {'N', [this] { SendAndRun<ToggleMute2Message>(false); }},
        {'D', [this] { SendAndRun<DeviceLostToggleMessage>(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.messages);
        Start();
        EXPECT_FALSE(Paused(kGame));
        EXPECT_TRUE(Paused(kMenu));
        for (std::size_t i = 0; i < c.messages.size(); ++i) {
            send.at(c.messages[i])();
            EXPECT_EQ(Paused(kGame), c.playing[i] != "game") << "after " << i + 1;
            EXPECT_EQ(Paused(kMenu), c.playing[i] != "menu") << "after " << i + 1;
        }
    }
}

TEST_F(AudioRules, NothingNewStartsWhileTheSecondMuteSwitchIsOn) {
    SendAndRun<ToggleMute2Message>(true);
    const int plays = device_->plays;
    SendAndRun<PlaySoundMessage>("SFX/Player_Jump_01");
    EXPECT_EQ(device_->plays, plays);
}

// Each level load steps the music's state by 0.1, round to 0.2 after seven steps; a step fades its
// layers over three seconds, never cuts.
TEST_F(AudioRules, SevenMusicStepsReturnTo02EachFadingOverThreeSeconds) {
    const float expected[] = {0.3f, 0.4f, 0.5f, 0.6f, 0.0f, 0.1f, 0.2f};
    device_->secondLayerGains.clear();
    for (int step = 0; step < 7; ++step) {
        Send<LevelObjectsLoadedMessage>();
        engine_->RunFrames(2);  // the step, then the parameter it sends
        float value = -1.0f;
        ASSERT_TRUE(Audio().Layer().GetParameter(Audio().Events().at(kGame), "StateChange", value));
        EXPECT_NEAR(value, expected[step], 1e-6f) << "step " << step + 1;
        if (step == 0) {              // from 1/1 to 1/0
            engine_->RunFrames(200);  // a little over three seconds
            const std::vector<float>& gains = device_->secondLayerGains;
            ASSERT_FALSE(gains.empty());
            EXPECT_EQ(gains.back(), 0.0f);
            float previous = 1.0f;
            for (float gain : gains) {
                EXPECT_LE(previous - gain, 1.0f / 180.0f + 1e-6f);  // 1/60 s steps over 3 s
                previous = gain;
            }
        }
    }
}

TEST_F(AudioRules, AudioComponentPlaysItsEventOnceFollowsItsObjectAndStopsWithIt) {
    auto* speaker = new Object;
    LevelObjects().push_back(speaker);
    auto* component = new AudioComponent;
    component->Event = "SFX/Wind_Light";
    component->Playing = 1;
    speaker->AddComponent("AudioComponent", component);
    speaker->GetTransform().SetPosition({120.0f, 40.0f});

    component->Update();
    engine_->RunFrames(1);
    EXPECT_EQ(component->Playing, 0);
    component->Update();
    engine_->RunFrames(1);
    const EventInstanceId wind = Audio().Events().at("SFX/Wind_Light");
    EXPECT_EQ(Audio().Layer().Get3DAttributes(wind)->position.x, 120.0f);
    EXPECT_EQ(Audio().Layer().Get3DAttributes(wind)->position.y, 40.0f);

    speaker->Destroy();
    engine_->RunFrames(32);  // the half second a stopped loop is held
    EXPECT_FALSE(Audio().Events().contains("SFX/Wind_Light"));
}

// A bank line may name only files in the folder of sounds (the rules of what is inside, links
// included, are the data folder's): refused names are said and never opened.
TEST(AudioFailure, ABankNamesOnlySoundsInsideItsFolder) {
    testing_support::TempAssets assets;
    assets.ShareFolder("Sounds", std::filesystem::path(VORL_SOURCE_DIR) / "assets" / "Sounds");
    testing_support::CapturedDiagnostics diagnostics;
    RecordingAudioDevice device;
    device.silent = false;
    auto layer = SoundEventLayer::Create(&device);
    assets.Write("SoundBank",
                 "SFX/Good oneshot 1 player_jump.ogg\n"
                 "SFX/Root oneshot 1 /etc/passwd\n"
                 "SFX/Far oneshot 1 ../../../../etc/passwd\n");
    layer->LoadBank(Assets::PathOf("SoundBank"), Assets::PathOf("Sounds"));
    EXPECT_EQ(device.lastSound, 1u) << "only the sound inside the folder was loaded";
    EXPECT_EQ(diagnostics.Lines().size(), 2u);
    for (const std::string& line : diagnostics.Lines()) {
        EXPECT_NE(line.find("refused"), std::string::npos) << line;
    }
}

}  // namespace
