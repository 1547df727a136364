// The OpenAL device's feeder thread against the threads around it, as in the game: the loopback
// device runs the feeder a sound card's device runs, the test thread renders as a sound card
// would (at the clock's pace), and a game thread starts, stops and loses voices meanwhile. Built
// also under ThreadSanitizer (tools/test.sh tsan).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio_device.h"
#include "platform/openal/loopback_device.h"

namespace {

using namespace std::chrono_literals;
using Pcm = std::vector<std::int16_t>;  // interleaved left, right
using Layers = std::vector<platform::VoiceLayer>;

constexpr int kRate = 44100;
// OpenAL Soft dithers its 16-bit output: silence is a sample or two either side of zero.
constexpr int kSilence = 4;
constexpr int kAudible = 1000;
// A stopped source fades out over the first frames mixed after, rather than click (interleaved).
constexpr std::size_t kFadeOut = 2 * 256;
// Longer than a streamed voice's queue (about half a second): what plays after it was fed by the
// feeder thread.
constexpr auto kPastTheQueue = 1500ms;

int Peak(const Pcm& pcm, std::size_t from = 0) {
    int peak = 0;
    for (std::size_t i = from; i < pcm.size(); ++i) {
        peak = std::max(peak, std::abs(static_cast<int>(pcm[i])));
    }
    return peak;
}

int PeakOfLast(const Pcm& pcm, std::chrono::milliseconds span) {
    const auto samples = static_cast<std::size_t>(kRate * span.count() / 1000 * 2);
    return Peak(pcm, pcm.size() - std::min(samples, pcm.size()));
}

// Renders 10 ms at a time, no sooner than a sound card would ask, for `span` of the clock.
Pcm RenderFor(platform::AudioDevice& device, std::chrono::milliseconds span) {
    Pcm pcm;
    const auto start = std::chrono::steady_clock::now();
    for (int piece = 1; std::chrono::steady_clock::now() - start < span; ++piece) {
        const Pcm part = platform::RenderLoopback(device, kRate / 100);
        pcm.insert(pcm.end(), part.begin(), part.end());
        std::this_thread::sleep_until(start + piece * 10ms);
    }
    return pcm;
}

// Runs `game` on a thread of its own, as the game's main thread, while this thread renders.
template <typename Game>
void RenderWhile(platform::AudioDevice& device, Game game) {
    std::atomic<bool> done{false};
    std::thread thread([&] {
        game();
        done = true;
    });
    while (!done) {
        RenderFor(device, 50ms);
    }
    thread.join();
}

// A deadlock would hang the run: this ends it with a message instead.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit)
        : thread_([limit](std::stop_token finished) {
              std::mutex mutex;
              std::unique_lock lock(mutex);
              std::condition_variable_any wake;
              wake.wait_for(lock, finished, limit, [] { return false; });
              if (!finished.stop_requested()) {
                  std::cerr << "not finished after " << limit.count() << " s: a deadlock\n";
                  std::abort();
              }
          }) {}

private:
    // Its end (the test's) asks the thread to stop, which wakes it.
    std::jthread thread_;
};

class FeederTest : public testing::Test {
protected:
    void SetUp() override {
        device_ = platform::OpenLoopbackAudioDevice(kRate, platform::LoopbackFeeding::FeederThread);
        if (!device_) {
            GTEST_SKIP() << "this OpenAL Soft has no loopback device";
        }
        auto load = [this](const std::string& name) {
            platform::EncodedSound sound;
            std::string why;
            const std::string path = std::string(VORL_SOURCE_DIR) + "/assets/Sounds/" + name;
            EXPECT_TRUE(platform::ReadOggVorbis(path, sound, why)) << why;
            return device_->LoadStreamedSound(sound);
        };
        const platform::SoundId beat = load("music_game_beat.ogg");
        const platform::SoundId keys = load("music_game_keys.ogg");
        const platform::SoundId menu = load("music_menu.ogg");
        const platform::SoundId wind = load("wind_heavy.ogg");
        ASSERT_TRUE(beat && keys && menu && wind);
        music_ = {{beat, 1.0f}, {keys, 1.0f}};
        menu_ = {{menu, 1.0f}};
        wind_ = {{wind, 1.0f}};
    }

    platform::VoiceId Loop(const Layers& layers) {
        return device_->Play(layers, true, 1.0f, std::nullopt);
    }

    std::unique_ptr<platform::AudioDevice> device_;
    Layers music_, menu_, wind_;
    Watchdog watchdog_{60s};
};

TEST_F(FeederTest, AGameThreadStartsAndStopsVoicesWhileTheCardRenders) {
    RenderWhile(*device_, [this] {
        std::mt19937 random(7);
        const std::vector<const Layers*> kinds = {&music_, &menu_, &wind_};
        std::vector<platform::VoiceId> voices;
        for (int frame = 0; frame < 100; ++frame) {
            const platform::VoiceId some = voices.empty() ? 0 : voices[random() % voices.size()];
            switch (random() % 5) {
                case 0:
                    if (voices.size() == 3) {
                        device_->Stop(voices.front());
                        voices.erase(voices.begin());
                    }
                    voices.push_back(Loop(*kinds[random() % kinds.size()]));
                    break;
                case 1:
                    device_->JumpTo(some, 1.0, 0.05);
                    break;
                case 2:
                    device_->Rewind(some);
                    break;
                case 3:
                    device_->SetPaused(some, true);
                    break;
                default:
                    device_->SetPaused(some, false);
            }
            device_->Update(1.0 / 60);
            std::this_thread::sleep_for(10ms);
        }
        for (platform::VoiceId voice : voices) {
            device_->Stop(voice);
        }
    });
    EXPECT_LE(Peak(RenderFor(*device_, 100ms), kFadeOut), kSilence);
    Loop(wind_);
    EXPECT_GT(PeakOfLast(RenderFor(*device_, kPastTheQueue), 400ms), kAudible);
}

TEST_F(FeederTest, VoicesComeBackAfterTheDeviceIsLostWhileFeeding) {
    const platform::VoiceId music = Loop(music_);
    Loop(wind_);
    RenderWhile(*device_, [this] {
        for (int loss = 0; loss < 3; ++loss) {
            std::this_thread::sleep_for(200ms);
            platform::SetLoopbackConnected(*device_, false);
            device_->Update(1.0 / 60);  // closes the device and stops its feeder
            std::this_thread::sleep_for(50ms);
            platform::SetLoopbackConnected(*device_, true);
            device_->Update(3.0);  // opens it again after the wait between tries
        }
    });
    EXPECT_TRUE(device_->IsPlaying(music));
    EXPECT_GT(PeakOfLast(RenderFor(*device_, kPastTheQueue), 400ms), kAudible);
    device_->Stop(music);
}

}  // namespace
