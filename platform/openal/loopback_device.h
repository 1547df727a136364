// The loopback form of the OpenAL Soft device (ALC_SOFT_loopback): it mixes into memory instead of
// a sound card, so that tests hear exactly what a player would, on a machine with no sound card at
// all, and can unplug its output to see the device recover.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio_device.h"

namespace platform {

// Who tops up a loopback device's streamed voices: the device itself between the pieces it
// renders, so that a run renders the same samples every time, or the feeder thread a sound card's
// device runs, racing the renders as it does against a sound card.
enum class LoopbackFeeding { BetweenRenders, FeederThread };

// A device that renders on request at `sampleRate`, in 16-bit stereo; null when OpenAL Soft lacks
// the loopback extension.
std::unique_ptr<AudioDevice> OpenLoopbackAudioDevice(
    int sampleRate, LoopbackFeeding feeding = LoopbackFeeding::BetweenRenders);

// Mixes the next `frames` frames of a loopback device (interleaved left, right). Empty for any
// other device.
std::vector<std::int16_t> RenderLoopback(AudioDevice& device, int frames);

// Makes a loopback device behave as if its output had been unplugged (false) or plugged back in
// (true), as a sound card's disconnect report would; the device notices on its next Update().
void SetLoopbackConnected(AudioDevice& device, bool connected);

}  // namespace platform
