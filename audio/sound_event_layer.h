// SoundEventLayer: named sound events over the platform audio device. It loads the event bank,
// readies every sound file of it (short ones decoded at once, so start-up pays for decoding,
// never a frame; long ones, the music, kept encoded and streamed as they play), and hands out
// event instances: one-shot or looping, startable, pausable, stoppable, with named float
// parameters and a 3D position. AudioSystem is its only user; everything runs on the main thread.
//
// Nothing it does is heard as a click: a loop comes in over its event's fade time, and a stop or a
// pause goes out over it (the device stops or pauses once the sound is silent), a stop turned
// back by CancelStop before then fading in again. Layers move between parameter states over the
// parameter's fade time.
//
// A world event ("space=world") is placed: panned by where it stands left or right of the
// listener (the camera) and softened with distance, following its instance's 3D position.
//
// An instance lives from CreateInstance until it has been released and has stopped sounding. Calls
// with an id that is no longer valid do nothing. Instances of events whose sounds failed to load
// are valid and silent.
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

// Where an instance stands in the world. Velocity, forward and up are fixed by the engine (still,
// facing into the screen, +y up); only the position moves, and only world events are heard by it.
struct Attributes3D {
    Vector3D position{0.0f, 0.0f, 0.0f};
    Vector3D velocity{0.0f, 0.0f, 0.0f};
    Vector3D forward{0.0f, 0.0f, 1.0f};
    Vector3D up{0.0f, 1.0f, 0.0f};
};

// How a world sound at `source` is heard by a listener at `listener`: its pan (-1 left to 1
// right) and its gain. Across the screen it pans from one side towards the other, never fully; it
// softens with distance, to half its loudness about a screen's width away.
struct WorldPlacement {
    float pan = 0.0f;
    float gain = 1.0f;
};
WorldPlacement PlaceInWorld(const Vector2D& source, const Vector2D& listener);

class SoundEventLayer {
public:
    // Null when the layer cannot exist (no device to play on).
    static std::unique_ptr<SoundEventLayer> Create(platform::AudioDevice* device);

    // Reads the bank file `bankPath` and readies its sounds from `soundFolder`. A missing bank
    // gives an empty one; a sound that cannot be read is reported once (naming the file) and
    // leaves its event silent. On a silent device nothing is read.
    void LoadBank(const std::string& bankPath, const std::string& soundFolder);
    // Null when the bank holds no such event.
    const EventDescription* FindEvent(const std::string& path) const;

    EventInstanceId CreateInstance(const EventDescription& event);
    // Starts the instance, or starts it again from its beginning.
    void Start(EventInstanceId id);
    // Starts it again from its beginning as Start does, but a sounding instance with a fade goes
    // out over it first and comes back in over it, so the restart is not heard as a cut.
    void Restart(EventInstanceId id);
    // Fades the instance out and stops it; a released instance is gone afterwards.
    void Stop(EventInstanceId id);
    // Stops at once, unheard fade or not: for shutting down.
    void StopNow(EventInstanceId id);
    // An instance still fading out after Stop plays on and fades back in; false when its sound
    // has already stopped.
    bool CancelStop(EventInstanceId id);
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
    // Where world events are heard from.
    void SetListener(const Vector2D& position) { listener_ = position; }
    // The player's volumes, 0..1: `music` for the events under "Music/", `effects` for the rest.
    // Heard from the next Update().
    void SetVolumes(float music, float effects) {
        musicVolume_ = music;
        effectsVolume_ = effects;
    }

    // Once a frame: fades advance by `dt` seconds, world events follow the listener, finished
    // released instances go, and the device does its own upkeep.
    void Update(double dt);

    platform::AudioDevice& Device() { return device_; }
    std::size_t InstanceCount() const { return instances_.size(); }
    // The voice sounding for an instance (0 when none), for tests that listen to the device.
    platform::VoiceId VoiceOf(EventInstanceId id) const;
    // The instance's own loudness now, 0..1 (its fade and, for world events, its distance), for
    // tests.
    float GainOf(EventInstanceId id) const;

private:
    struct LoadedEvent {
        EventDescription description;
        std::vector<platform::SoundId> sounds;  // empty when a file failed
    };
    enum class AfterFade { Nothing, Pause, Stop, Restart };
    struct Instance {
        const LoadedEvent* event = nullptr;
        platform::VoiceId voice = 0;
        bool paused = false;
        bool released = false;
        bool placed = false;  // a world event whose position has been given
        Attributes3D attributes;
        float fade = 1.0f;  // 0 silent .. 1 full
        float fadeTarget = 1.0f;
        AfterFade afterFade = AfterFade::Nothing;
        // Restarted while it could be heard: it goes back to its beginning once silent.
        bool rewindWhenSilent = false;
        std::vector<float> parameterValues;  // one per event parameter
        std::vector<std::size_t> states;     // the state each parameter is in
        std::vector<float> layerGains;       // heard now
        std::vector<float> targetGains;      // faded towards
    };

    explicit SoundEventLayer(platform::AudioDevice& device) : device_(device) {}
    platform::SoundId LoadFile(const std::string& path, std::size_t& frames);
    Instance* Find(EventInstanceId id);
    const Instance* Find(EventInstanceId id) const;
    void Retarget(Instance& instance, bool fade);
    WorldPlacement Placement(const Instance& instance) const;
    float VoiceGain(const Instance& instance) const;
    void FadeTo(Instance& instance, float target, AfterFade after);
    // Advances the instance's fade; false when it has gone.
    bool AdvanceFade(EventInstanceId id, Instance& instance, float dt);

    platform::AudioDevice& device_;
    std::vector<std::unique_ptr<LoadedEvent>> events_;
    std::unordered_map<std::string, const LoadedEvent*> byPath_;
    std::unordered_map<EventInstanceId, Instance> instances_;
    EventInstanceId lastInstance_ = 0;
    Vector2D listener_{0.0f, 0.0f};
    float musicVolume_ = 1.0f;
    float effectsVolume_ = 1.0f;
};
