// SoundEventLayer: named sound events over the platform audio device. It loads the event bank,
// decodes every sound file of it at once (start-up pays for decoding, never a frame), and hands
// out event instances: one-shot or looping, startable, pausable, stoppable, with named float
// parameters and a 3D position. AudioSystem is its only user; everything runs on the main thread.
//
// An instance lives from CreateInstance until it has been released and has stopped sounding (at
// once for Stop). Calls with an id that is no longer valid do nothing. Instances of events whose
// sounds failed to load are valid and silent.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "audio/event_bank.h"
#include "core/vector.h"
#include "platform/audio_device.h"

using EventInstanceId = std::uint32_t;

// What the layer reports when it cannot be created: our own codes and texts.
enum class AudioResult : int { Ok = 0, NoDevice = 1 };
const char* AudioResultText(int code);

// Where an instance stands in the world. Velocity, forward and up are fixed by the engine (still,
// facing into the screen, +y up); only the position moves. The attributes are kept with the
// instance; no event of our bank is positional, so every sound is heard alike wherever it stands.
struct Attributes3D {
    Vector3D position{0.0f, 0.0f, 0.0f};
    Vector3D velocity{0.0f, 0.0f, 0.0f};
    Vector3D forward{0.0f, 0.0f, 1.0f};
    Vector3D up{0.0f, 1.0f, 0.0f};
};

class SoundEventLayer {
public:
    // Null with `result` set when the layer cannot exist (no device to play on).
    static std::unique_ptr<SoundEventLayer> Create(platform::AudioDevice* device,
                                                   AudioResult& result);

    // Reads the bank file `bankPath` and decodes its sounds from `soundFolder`. A missing bank
    // gives an empty one; a sound that cannot be decoded is reported once (naming the file) and
    // leaves its event silent. On a silent device nothing is decoded.
    void LoadBank(const std::string& bankPath, const std::string& soundFolder);
    // Null when the bank holds no such event.
    const EventDescription* FindEvent(const std::string& path) const;

    EventInstanceId CreateInstance(const EventDescription& event);
    // Starts the instance, or starts it again from its beginning.
    void Start(EventInstanceId id);
    // Stops the sound at once; a released instance is gone afterwards.
    void Stop(EventInstanceId id);
    // The instance goes away once it has stopped sounding.
    void Release(EventInstanceId id);
    void SetPaused(EventInstanceId id, bool paused);
    bool GetPaused(EventInstanceId id) const;
    bool IsValid(EventInstanceId id) const;
    void Set3DAttributes(EventInstanceId id, const Attributes3D& attributes);
    const Attributes3D* Get3DAttributes(EventInstanceId id) const;
    // False when the instance is invalid or its event has no such parameter.
    bool GetParameter(EventInstanceId id, const std::string& name, float& value) const;
    bool SetParameter(EventInstanceId id, const std::string& name, float value);

    // Once a frame: layer fades advance by `dt` seconds, finished released instances go, and the
    // device does its own upkeep.
    void Update(double dt);

    platform::AudioDevice& Device() { return device_; }
    std::size_t InstanceCount() const { return instances_.size(); }
    // The voice sounding for an instance (0 when none), for tests that listen to the device.
    platform::VoiceId VoiceOf(EventInstanceId id) const;

private:
    struct LoadedEvent {
        EventDescription description;
        std::vector<platform::SoundId> sounds;  // empty when a file failed
    };
    struct Instance {
        const LoadedEvent* event = nullptr;
        platform::VoiceId voice = 0;
        bool paused = false;
        bool released = false;
        Attributes3D attributes;
        std::vector<float> parameterValues;  // one per event parameter
        std::vector<float> layerGains;       // heard now
        std::vector<float> targetGains;      // faded towards
    };

    explicit SoundEventLayer(platform::AudioDevice& device) : device_(device) {}
    Instance* Find(EventInstanceId id);
    const Instance* Find(EventInstanceId id) const;
    void Retarget(Instance& instance, bool fade);

    platform::AudioDevice& device_;
    std::vector<std::unique_ptr<LoadedEvent>> events_;
    std::unordered_map<std::string, const LoadedEvent*> byPath_;
    std::unordered_map<EventInstanceId, Instance> instances_;
    EventInstanceId lastInstance_ = 0;
};
