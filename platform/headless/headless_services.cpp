// The headless twins of every platform service.
#include "platform/services.h"

namespace platform {
namespace {

class HeadlessWindow : public Window {
public:
    void PumpEvents(WindowEvents&) override {}
    bool IsHidden() const override { return false; }
};

class NoGamepads : public Gamepads {
public:
    bool Read(int, ControllerState&) override { return false; }
    void SetRumble(int, std::uint16_t, std::uint16_t) override {}
};

class SilentAudioDevice : public AudioDevice {
public:
    bool IsSilent() const override { return true; }
    SoundId LoadSound(const PcmSound&) override { return ++lastSound_; }
    SoundId LoadStreamedSound(const EncodedSound&) override { return ++lastSound_; }
    VoiceId Play(const std::vector<VoiceLayer>&, bool, float, std::optional<float>) override {
        return ++lastVoice_;
    }
    void Stop(VoiceId) override {}
    void SetPaused(VoiceId, bool) override {}
    void Rewind(VoiceId) override {}
    void SetGain(VoiceId, float) override {}
    void SetLayerGain(VoiceId, std::size_t, float) override {}
    void SetPan(VoiceId, float) override {}
    void JumpTo(VoiceId, double, double) override {}
    bool IsPlaying(VoiceId) const override { return false; }
    double PlaybackSeconds(VoiceId) const override { return 0.0; }

private:
    SoundId lastSound_ = 0;
    VoiceId lastVoice_ = 0;
};

}  // namespace

std::unique_ptr<Window> MakeHeadlessWindow() {
    return std::make_unique<HeadlessWindow>();
}
std::unique_ptr<Gamepads> MakeNoGamepads() {
    return std::make_unique<NoGamepads>();
}
std::unique_ptr<AudioDevice> MakeSilentAudioDevice() {
    return std::make_unique<SilentAudioDevice>();
}

Services MakeHeadlessServices(double step) {
    Services services;
    services.clock = timing::MakeFixedStepClock(step);
    services.window = MakeHeadlessWindow();
    services.gamepads = MakeNoGamepads();
    services.audio = MakeSilentAudioDevice();
    services.graphics = MakeHeadlessGraphicsDevice();
    services.panels = MakeHeadlessPanels();
    return services;
}

}  // namespace platform
