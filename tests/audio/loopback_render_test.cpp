// What a player hears: the game's own bank and sounds played through OpenAL Soft's loopback
// device, which mixes into memory, so these run on machines without a sound card.
#include <gtest/gtest.h>

#include <cstdlib>

#include "audio/audio_system.h"
#include "core/messaging.h"
#include "meta/assets.h"
#include "platform/openal_audio_device.h"
#include "support/asset_folder.h"
#include "support/headless_engine.h"

namespace {

constexpr int kRate = 44100;
// OpenAL Soft dithers its 16-bit output: silence is a sample or two either side of zero.
constexpr int kSilence = 4;
constexpr int kAudible = 1000;
const std::string kMenu = "Music/Start_Menu_Music";

class LoopbackRender : public testing::Test {
protected:
    void SetUp() override {
        device_ = platform::OpenLoopbackAudioDevice(kRate);
        if (!device_) {
            GTEST_SKIP() << "this OpenAL Soft has no loopback device";
        }
        testing_support::ResetEngineState();
    }
    void TearDown() override {
        if (audio_) {
            audio_->Shutdown();
        }
        audio_.reset();
        device_.reset();
        testing_support::ResetEngineState();
    }

    // The audio system on the bank of the assets folder now in use.
    void Start() { audio_ = std::make_unique<AudioSystem>(*device_); }
    void StartOnGameAssets() {
        const Assets::Folders previous = Assets::Current();
        Assets::SetRoot(std::string(VORL_SOURCE_DIR) + "/assets");
        Start();
        Assets::Use(previous);
    }
    template <class T, class... Args>
    void SendAndRun(Args&&... args) {
        MessagingSystem::Send<T>(std::forward<Args>(args)...);
        MessagingSystem::Update();
        audio_->Update();
    }
    // The loudest sample of the next `seconds` of output.
    int Peak(double seconds) {
        int peak = 0;
        for (std::int16_t s :
             platform::RenderLoopback(*device_, static_cast<int>(seconds * kRate))) {
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        }
        return peak;
    }
    double MenuMusicSeconds() {
        return device_->PlaybackSeconds(audio_->Layer().VoiceOf(audio_->Events().at(kMenu)));
    }

    std::unique_ptr<platform::AudioDevice> device_;
    std::unique_ptr<AudioSystem> audio_;
};

TEST_F(LoopbackRender, AJumpIsHeard) {
    StartOnGameAssets();
    EXPECT_LE(Peak(0.1), kSilence);
    SendAndRun<PlaySoundMessage>("SFX/Player_Jump_01");
    EXPECT_GT(Peak(0.3), kAudible);
}

TEST_F(LoopbackRender, AStoppedLoopFallsSilent) {
    StartOnGameAssets();
    SendAndRun<PlaySoundMessage>("SFX/Wind_Heavy");
    EXPECT_GT(Peak(0.5), kAudible);
    SendAndRun<StopSoundMessage>("SFX/Wind_Heavy");
    Peak(0.02);  // the short fade-out OpenAL Soft gives a stopped source
    EXPECT_LE(Peak(0.5), kSilence);
}

TEST_F(LoopbackRender, PausedMusicResumesWhereItStopped) {
    StartOnGameAssets();
    SendAndRun<PlaySoundMessage>(kMenu);
    EXPECT_GT(Peak(1.0), kAudible);
    SendAndRun<PauseSoundMessage>(kMenu);
    Peak(0.02);  // the fade-out of the pause
    const double pausedAt = MenuMusicSeconds();
    EXPECT_GT(pausedAt, 0.9);
    EXPECT_LE(Peak(1.0), kSilence);
    EXPECT_NEAR(MenuMusicSeconds(), pausedAt, 0.001);

    SendAndRun<TogglePauseMessage>();  // the pause menu opens: its music plays on
    EXPECT_GT(Peak(0.5), kAudible);
    EXPECT_NEAR(MenuMusicSeconds(), pausedAt + 0.5, 0.05);
}

TEST_F(LoopbackRender, MusicComesBackWhereItWasWhenALostDeviceReturns) {
    StartOnGameAssets();
    SendAndRun<PlaySoundMessage>(kMenu);
    EXPECT_GT(Peak(1.0), kAudible);
    const double lostAt = MenuMusicSeconds();

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

    EXPECT_GT(Peak(0.5), kAudible);
    EXPECT_NEAR(MenuMusicSeconds(), lostAt + 0.5, 0.05);
}

TEST_F(LoopbackRender, AMissingSoundFileIsNamedOnceAndItsEventsStaySilent) {
    testing_support::TempAssets assets;
    assets.Write("SoundBank",
                 "SFX/Gone oneshot 1 missing.ogg\n"
                 "SFX/AlsoGone loop 1 missing.ogg\n");
    testing_support::CapturedDiagnostics diagnostics;
    Start();
    ASSERT_EQ(diagnostics.Lines().size(), 1u);
    EXPECT_NE(diagnostics.Lines()[0].find("missing.ogg"), std::string::npos);

    SendAndRun<PlaySoundMessage>("SFX/Gone");
    SendAndRun<PlaySoundMessage>("SFX/AlsoGone");
    EXPECT_LE(Peak(0.2), kSilence);
    EXPECT_TRUE(audio_->Events().contains("SFX/AlsoGone"));
}

}  // namespace
