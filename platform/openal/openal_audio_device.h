// The OpenAL Soft audio device on the system's sound output. Its loopback form for tests is in
// platform/openal/loopback_device.h.
#pragma once

#include <memory>
#include <string>

#include "platform/audio_device.h"

namespace platform {

// Null when the device cannot be opened. An empty name is the system's default output.
std::unique_ptr<AudioDevice> OpenOpenALDevice(const std::string& deviceName);

}  // namespace platform
