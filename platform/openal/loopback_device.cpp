// The loopback form of the OpenAL device: mixes into memory when asked to render, and can be
// told its output was unplugged, for tests of what a player hears.
#include "platform/openal/openal_device.h"

#include <algorithm>

#include "platform/openal/loopback_device.h"

namespace platform {
namespace {

// A loopback render goes in pieces no longer than this, the queues topped up between them.
constexpr int kRenderPiece = 1024;

}  // namespace

bool OpenALAudioDevice::OpenLoopback() {
    if (!loopbackConnected_) {
        return false;
    }
    auto openLoopback = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    renderSamples_ = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(
        alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (!openLoopback || !renderSamples_) {
        return false;
    }
    device_ = openLoopback(nullptr);
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                 ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,
                                 ALC_SHORT_SOFT,
                                 ALC_FREQUENCY,
                                 sampleRate_,
                                 0};
    context_ = device_ ? alcCreateContext(device_, attributes) : nullptr;
    return context_ != nullptr;
}

std::vector<std::int16_t> OpenALAudioDevice::Render(int frames) {
    std::lock_guard lock(mutex_);
    std::vector<std::int16_t> out;
    if (!loopback_ || !device_ || frames <= 0) {
        return out;
    }
    MakeCurrent();
    out.resize(static_cast<std::size_t>(frames) * 2);
    for (int done = 0; done < frames;) {
        if (!feederThread_) {
            FeedAll();
        }
        const int piece = std::min(kRenderPiece, frames - done);
        renderSamples_(device_, out.data() + static_cast<std::size_t>(done) * 2, piece);
        done += piece;
    }
    return out;
}

std::unique_ptr<AudioDevice> OpenLoopbackAudioDevice(int sampleRate, LoopbackFeeding feeding) {
    auto device = std::make_unique<OpenALAudioDevice>(std::string(), true, sampleRate,
                                                      feeding == LoopbackFeeding::FeederThread);
    if (!device->Open()) {
        return nullptr;
    }
    return device;
}

std::vector<std::int16_t> RenderLoopback(AudioDevice& device, int frames) {
    auto* openal = dynamic_cast<OpenALAudioDevice*>(&device);
    return openal ? openal->Render(frames) : std::vector<std::int16_t>{};
}

void SetLoopbackConnected(AudioDevice& device, bool connected) {
    if (auto* openal = dynamic_cast<OpenALAudioDevice*>(&device)) {
        openal->SetLoopbackConnected(connected);
    }
}

}  // namespace platform
