#include "platform/audio_device.h"

#include <gtest/gtest.h>

#include "support/headless_engine.h"

namespace {

// Runs in a fresh process so that the once-per-run notice has not been given yet.
int StartWithoutSoundDevice() {
    testing::internal::CaptureStderr();
    std::unique_ptr<platform::AudioDevice> first = platform::OpenAudioDevice("no such device");
    std::unique_ptr<platform::AudioDevice> second = platform::OpenAudioDevice("no such device");
    const std::string said = testing::internal::GetCapturedStderr();
    if (!first->IsSilent() || !second->IsSilent()) {
        return 10;
    }
    int notices = 0;
    for (std::size_t at = said.find("Sound is off"); at != std::string::npos;
         at = said.find("Sound is off", at + 1)) {
        ++notices;
    }
    platform::Services services = platform::MakeHeadlessServices();
    services.audio = std::move(first);
    testing_support::HeadlessEngine engine(std::move(services));
    engine.RunFrames(30);
    return notices;
}

TEST(AudioDeviceDeathTest, WithoutASoundDeviceTheGameSaysSoundIsOffOnceAndRuns) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(StartWithoutSoundDevice()), testing::ExitedWithCode(1), "");
}

}  // namespace
