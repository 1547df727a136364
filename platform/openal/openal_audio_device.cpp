// OpenAL Soft behind the audio device contract.
//
// Every voice is one source per layer, driven with the *v calls so the layers stay in step. A
// decoded sound is one OpenAL buffer. A streamed voice keeps a short queue of decoded chunks on
// each source, every layer chunked alike, so the layers stay in step as they play; a feeder
// thread tops the queues up (a loopback device, which plays only when asked to render, tops them
// up between the pieces it renders instead). Should a queue run dry all the same (a machine
// stalled for longer than the queue lasts), every layer stops together and starts again together
// where it was.
//
// The device keeps what it needs to upload each sound again: when the output disappears
// (headphones pulled, a screen asleep; ALC_EXT_disconnect reports it) the whole OpenAL device is
// closed, the game plays on silently, and every few seconds the device is opened again, the sounds
// are uploaded anew and each looping voice resumes where it was, paused or not. One-shot sounds
// that were cut are not brought back.
#include "platform/openal/openal_audio_device.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <deque>
#include <iostream>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "platform/stb/ogg_vorbis.h"

namespace platform {
namespace {

constexpr double kRetrySeconds = 3.0;
// A streamed layer's queue: kChunks chunks of kChunkFrames frames, about half a second at
// 44.1 kHz, topped up every kFeedInterval.
constexpr std::size_t kChunkFrames = 4096;
constexpr std::size_t kChunks = 6;
constexpr auto kFeedInterval = std::chrono::milliseconds(20);
// A jump crossfades the sound it leaves into the one it enters over this many frames.
constexpr std::size_t kJumpFadeFrames = 512;
// A loopback render goes in pieces no longer than this, the queues topped up between them.
constexpr int kRenderPiece = 1024;
constexpr float kHalfPi = 1.5707964f;
// A stereo file's channels sit this far either side of where the voice is placed.
constexpr float kStereoSpread = 0.5235988f;  // 30 degrees

class OpenALAudioDevice : public AudioDevice {
public:
    OpenALAudioDevice(std::string name, bool loopback, int sampleRate)
        : name_(std::move(name)), loopback_(loopback), sampleRate_(sampleRate) {}
    ~OpenALAudioDevice() override {
        std::lock_guard lock(mutex_);
        Close();
    }

    bool Open();
    std::vector<std::int16_t> Render(int frames);
    void SetLoopbackConnected(bool connected) {
        std::lock_guard lock(mutex_);
        loopbackConnected_ = connected;
    }

    bool IsSilent() const override { return false; }
    SoundId LoadSound(const PcmSound& sound) override;
    SoundId LoadStreamedSound(const EncodedSound& sound) override;
    VoiceId Play(const std::vector<VoiceLayer>& layers, bool loop, float gain,
                 std::optional<float> pan) override;
    void Stop(VoiceId voice) override;
    void SetPaused(VoiceId voice, bool paused) override;
    void Rewind(VoiceId voice) override;
    void SetGain(VoiceId voice, float gain) override;
    void SetLayerGain(VoiceId voice, std::size_t layer, float gain) override;
    void SetPan(VoiceId voice, float pan) override;
    void JumpTo(VoiceId voice, double seconds, double grid) override;
    bool IsPlaying(VoiceId voice) const override;
    double PlaybackSeconds(VoiceId voice) const override;
    void Update(double dt) override;

private:
    struct Sound {
        PcmSound pcm;          // a decoded sound
        EncodedSound encoded;  // a streamed one
        ALuint buffer = 0;     // decoded sounds only
        bool Streamed() const { return encoded.bytes != nullptr; }
        std::size_t Frames() const {
            return Streamed() ? encoded.frames
                              : pcm.samples.size() / static_cast<std::size_t>(pcm.channels);
        }
        int Rate() const { return Streamed() ? encoded.sampleRate : pcm.sampleRate; }
        int Channels() const { return Streamed() ? encoded.channels : pcm.channels; }
    };
    // One queued chunk of a streamed voice, alike on every layer: the frame of the sound it
    // starts at and how many frames it holds.
    struct Chunk {
        std::size_t start = 0;
        std::size_t frames = 0;
    };
    struct Jump {
        std::size_t to = 0;
        std::size_t grid = 0;
    };
    struct Stream {
        std::vector<std::unique_ptr<OggVorbisReader>> readers;  // one per layer
        std::vector<std::vector<ALuint>> freeBuffers;           // per layer
        std::vector<std::vector<ALuint>> allBuffers;            // per layer
        std::deque<Chunk> queued;
        std::size_t next = 0;  // the sound's frame the next chunk starts at
        bool ended = false;    // a one-shot has queued its last frame
        std::optional<Jump> jump;
    };
    struct Voice {
        std::vector<VoiceLayer> layers;
        std::vector<ALuint> sources;  // empty while the device is lost
        bool loop = false;
        bool paused = false;
        float gain = 1.0f;
        std::optional<float> pan;
        double lastSeconds = 0.0;  // where a looping voice resumes after a lost device
        std::unique_ptr<Stream> stream;
        std::optional<Jump> pendingJump;  // kept across a lost device
    };

    void MakeCurrent() const;
    void Close();
    void LoseDevice();
    bool Upload(Sound& sound);
    const Sound& SoundOf(const Voice& voice, std::size_t layer) const {
        return sounds_[voice.layers[layer].sound - 1];
    }
    bool Streamed(const Voice& voice) const { return SoundOf(voice, 0).Streamed(); }
    bool CreateSources(Voice& voice);
    void DeleteSources(Voice& voice);
    ALint State(const Voice& voice) const;
    void PlaySources(const Voice& voice);
    Voice* Find(VoiceId id);
    const Voice* Find(VoiceId id) const;
    void ApplyGains(const Voice& voice);
    void ApplyPlacement(const Voice& voice);
    double Seconds(const Voice& voice) const;

    // Streaming.
    void StartStream(Voice& voice, std::size_t frame);
    void ClearQueues(Voice& voice);
    void Feed(Voice& voice);
    void FeedAll();
    bool QueueChunk(Voice& voice);
    std::size_t ReadLooped(const Voice& voice, std::size_t layer, std::size_t from,
                           std::int16_t* out, std::size_t frames);
    void StartFeeder();
    void StopFeeder();

    std::string name_;
    bool loopback_;
    int sampleRate_;
    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
    LPALCRENDERSAMPLESSOFT renderSamples_ = nullptr;
    std::vector<Sound> sounds_;  // SoundId n is sounds_[n - 1]
    std::unordered_map<VoiceId, Voice> voices_;
    VoiceId lastVoice_ = 0;
    double retryTimer_ = 0.0;
    bool loopbackConnected_ = true;
    std::vector<std::int16_t> scratch_;
    std::vector<std::int16_t> fadeScratch_;

    // Guards everything above against the feeder thread.
    // Recursive: the contract's calls also use each other.
    mutable std::recursive_mutex mutex_;
    std::thread feeder_;
    std::atomic<bool> feeding_{false};
};

bool OpenALAudioDevice::Open() {
    if (loopback_) {
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
    } else {
        device_ = alcOpenDevice(name_.empty() ? nullptr : name_.c_str());
        context_ = device_ ? alcCreateContext(device_, nullptr) : nullptr;
    }
    if (!context_) {
        Close();
        return false;
    }
    alcMakeContextCurrent(context_);
    for (Sound& sound : sounds_) {
        Upload(sound);
    }
    for (auto& [id, voice] : voices_) {
        if (CreateSources(voice) && !voice.paused) {
            PlaySources(voice);
        }
    }
    StartFeeder();
    return true;
}

void OpenALAudioDevice::StartFeeder() {
    if (loopback_ || feeding_) {
        return;
    }
    feeding_ = true;
    feeder_ = std::thread([this] {
        while (feeding_) {
            // Never waits for the lock: a round the main thread holds it is skipped, so the main
            // thread can stop the feeder while holding it.
            if (std::unique_lock lock(mutex_, std::try_to_lock); lock.owns_lock()) {
                FeedAll();
            }
            std::this_thread::sleep_for(kFeedInterval);
        }
    });
}

void OpenALAudioDevice::StopFeeder() {
    if (feeder_.joinable()) {
        feeding_ = false;
        feeder_.join();
    }
}

void OpenALAudioDevice::MakeCurrent() const {
    if (context_ && alcGetCurrentContext() != context_) {
        alcMakeContextCurrent(context_);
    }
}

void OpenALAudioDevice::Close() {
    StopFeeder();
    MakeCurrent();
    for (auto& [id, voice] : voices_) {
        DeleteSources(voice);
    }
    for (Sound& sound : sounds_) {
        if (sound.buffer) {
            alDeleteBuffers(1, &sound.buffer);
            sound.buffer = 0;
        }
    }
    if (context_) {
        if (alcGetCurrentContext() == context_) {
            alcMakeContextCurrent(nullptr);
        }
        alcDestroyContext(context_);
        context_ = nullptr;
    }
    if (device_) {
        alcCloseDevice(device_);
        device_ = nullptr;
    }
}

void OpenALAudioDevice::LoseDevice() {
    for (auto it = voices_.begin(); it != voices_.end();) {
        if (it->second.loop) {
            // A disconnect stops every source; one not yet stopped still knows where it was.
            if (State(it->second) != AL_STOPPED) {
                it->second.lastSeconds = Seconds(it->second);
            }
            ++it;
        } else {
            DeleteSources(it->second);
            it = voices_.erase(it);
        }
    }
    Close();
    retryTimer_ = 0.0;
    std::cerr << "The sound device was lost; the game goes on silently and tries it again every "
              << kRetrySeconds << " seconds.\n";
}

bool OpenALAudioDevice::Upload(Sound& sound) {
    if (sound.Streamed()) {
        return true;  // streamed voices bring buffers of their own
    }
    alGetError();
    alGenBuffers(1, &sound.buffer);
    const ALenum format = sound.pcm.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
    alBufferData(sound.buffer, format, sound.pcm.samples.data(),
                 static_cast<ALsizei>(sound.pcm.samples.size() * sizeof(std::int16_t)),
                 sound.pcm.sampleRate);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &sound.buffer);
        sound.buffer = 0;
        return false;
    }
    return true;
}

bool OpenALAudioDevice::CreateSources(Voice& voice) {
    alGetError();
    voice.sources.assign(voice.layers.size(), 0);
    alGenSources(static_cast<ALsizei>(voice.sources.size()), voice.sources.data());
    if (alGetError() != AL_NO_ERROR) {
        voice.sources.clear();
        return false;
    }
    for (std::size_t i = 0; i < voice.layers.size(); ++i) {
        const ALuint source = voice.sources[i];
        // Sounds are heard from where the listener stands: in the middle, or where placed.
        alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
        if (!Streamed(voice)) {
            alSourcei(source, AL_BUFFER, static_cast<ALint>(SoundOf(voice, i).buffer));
            alSourcei(source, AL_LOOPING, voice.loop ? AL_TRUE : AL_FALSE);
        }
    }
    ApplyGains(voice);
    ApplyPlacement(voice);
    const double length =
        static_cast<double>(SoundOf(voice, 0).Frames()) / SoundOf(voice, 0).Rate();
    const double resumeAt = voice.lastSeconds > 0.0 ? std::fmod(voice.lastSeconds, length) : 0.0;
    if (Streamed(voice)) {
        StartStream(voice, static_cast<std::size_t>(resumeAt * SoundOf(voice, 0).Rate()));
        if (voice.stream) {
            voice.stream->jump = voice.pendingJump;
        }
    } else if (resumeAt > 0.0) {
        for (ALuint source : voice.sources) {
            alSourcef(source, AL_SEC_OFFSET, static_cast<ALfloat>(resumeAt));
        }
    }
    return true;
}

void OpenALAudioDevice::DeleteSources(Voice& voice) {
    if (!voice.sources.empty()) {
        alSourceStopv(static_cast<ALsizei>(voice.sources.size()), voice.sources.data());
        for (ALuint source : voice.sources) {
            alSourcei(source, AL_BUFFER, 0);
        }
        alDeleteSources(static_cast<ALsizei>(voice.sources.size()), voice.sources.data());
        voice.sources.clear();
    }
    if (voice.stream) {
        voice.pendingJump = voice.stream->jump;
        for (auto& buffers : voice.stream->allBuffers) {
            alDeleteBuffers(static_cast<ALsizei>(buffers.size()), buffers.data());
        }
        voice.stream.reset();
    }
}

ALint OpenALAudioDevice::State(const Voice& voice) const {
    ALint state = AL_STOPPED;
    if (!voice.sources.empty()) {
        alGetSourcei(voice.sources.front(), AL_SOURCE_STATE, &state);
    }
    return state;
}

void OpenALAudioDevice::PlaySources(const Voice& voice) {
    alSourcePlayv(static_cast<ALsizei>(voice.sources.size()), voice.sources.data());
}

OpenALAudioDevice::Voice* OpenALAudioDevice::Find(VoiceId id) {
    auto it = voices_.find(id);
    return it == voices_.end() ? nullptr : &it->second;
}

const OpenALAudioDevice::Voice* OpenALAudioDevice::Find(VoiceId id) const {
    auto it = voices_.find(id);
    return it == voices_.end() ? nullptr : &it->second;
}

void OpenALAudioDevice::ApplyGains(const Voice& voice) {
    for (std::size_t i = 0; i < voice.sources.size(); ++i) {
        alSourcef(voice.sources[i], AL_GAIN, voice.gain * voice.layers[i].gain);
    }
}

void OpenALAudioDevice::ApplyPlacement(const Voice& voice) {
    for (std::size_t i = 0; i < voice.sources.size(); ++i) {
        const ALuint source = voice.sources[i];
        const bool stereo = SoundOf(voice, i).Channels() == 2;
        if (!voice.pan) {
            // Stereo plays left to left and right to right; mono sits in the middle.
            if (stereo) {
                alSourcei(source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
            }
            alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
            continue;
        }
        // Angles run anticlockwise from straight ahead: left is positive.
        const float angle = -std::clamp(*voice.pan, -1.0f, 1.0f) * kHalfPi;
        if (stereo) {
            const ALfloat angles[2] = {std::clamp(angle + kStereoSpread, -kHalfPi, kHalfPi),
                                       std::clamp(angle - kStereoSpread, -kHalfPi, kHalfPi)};
            alSourcefv(source, AL_STEREO_ANGLES, angles);
        } else {
            alSource3f(source, AL_POSITION, -std::sin(angle), 0.0f, -std::cos(angle));
        }
    }
}

double OpenALAudioDevice::Seconds(const Voice& voice) const {
    if (voice.sources.empty()) {
        return voice.lastSeconds;
    }
    const int rate = SoundOf(voice, 0).Rate();
    if (!voice.stream) {
        ALfloat seconds = 0.0f;
        alGetSourcef(voice.sources.front(), AL_SEC_OFFSET, &seconds);
        return seconds;
    }
    // A queue's offset counts from its first chunk still queued.
    ALint offset = 0;
    alGetSourcei(voice.sources.front(), AL_SAMPLE_OFFSET, &offset);
    std::size_t left = static_cast<std::size_t>(std::max(offset, 0));
    std::size_t frame = voice.stream->next;
    for (const Chunk& chunk : voice.stream->queued) {
        if (left < chunk.frames) {
            frame = chunk.start + left;
            break;
        }
        left -= chunk.frames;
    }
    return static_cast<double>(frame % std::max<std::size_t>(SoundOf(voice, 0).Frames(), 1)) / rate;
}

// ---- Streaming

void OpenALAudioDevice::StartStream(Voice& voice, std::size_t frame) {
    auto stream = std::make_unique<Stream>();
    for (std::size_t i = 0; i < voice.layers.size(); ++i) {
        stream->readers.push_back(std::make_unique<OggVorbisReader>(SoundOf(voice, i).encoded));
        std::vector<ALuint> buffers(kChunks, 0);
        alGenBuffers(static_cast<ALsizei>(kChunks), buffers.data());
        stream->allBuffers.push_back(buffers);
        stream->freeBuffers.push_back(std::move(buffers));
    }
    stream->next = frame;
    voice.stream = std::move(stream);
    Feed(voice);
}

void OpenALAudioDevice::ClearQueues(Voice& voice) {
    Stream& stream = *voice.stream;
    alSourceStopv(static_cast<ALsizei>(voice.sources.size()), voice.sources.data());
    for (std::size_t i = 0; i < voice.sources.size(); ++i) {
        alSourcei(voice.sources[i], AL_BUFFER, 0);  // unqueues every buffer of a stopped source
        stream.freeBuffers[i] = stream.allBuffers[i];
    }
    stream.queued.clear();
    stream.ended = false;
}

// Reads `frames` frames of layer `layer` from frame `from`, going round to the start of a looping
// sound; a one-shot gives fewer at its end.
std::size_t OpenALAudioDevice::ReadLooped(const Voice& voice, std::size_t layer, std::size_t from,
                                          std::int16_t* out, std::size_t frames) {
    OggVorbisReader& reader = *voice.stream->readers[layer];
    const std::size_t length = SoundOf(voice, 0).Frames();
    const int channels = reader.Channels();
    std::size_t done = 0;
    std::size_t at = from % std::max<std::size_t>(length, 1);
    reader.Seek(at);
    while (done < frames) {
        const std::size_t want = std::min(frames - done, length - at);
        const std::size_t got = reader.Read(out + done * channels, want);
        done += got;
        at += got;
        if (got < want || at >= length) {
            if (!voice.loop) {
                break;
            }
            at = 0;
            if (!reader.Seek(0)) {
                break;
            }
        }
    }
    std::fill(out + done * channels, out + frames * channels, 0);
    return done;
}

// Decodes and queues the next chunk on every layer; false when there is nothing more to queue.
bool OpenALAudioDevice::QueueChunk(Voice& voice) {
    Stream& stream = *voice.stream;
    if (stream.ended || stream.freeBuffers.front().empty()) {
        return false;
    }
    const std::size_t length = SoundOf(voice, 0).Frames();
    Chunk chunk{stream.next, kChunkFrames};
    std::optional<std::size_t> jumpTo;
    if (stream.jump) {
        // The jump waits for the grid line at or after the chunk's start; a chunk that would
        // cross the line ends on it.
        const std::size_t grid = std::max<std::size_t>(stream.jump->grid, 1);
        std::size_t line = (chunk.start + grid - 1) / grid * grid;
        if (line >= length) {
            line = length;  // the loop's end is a line too
        }
        if (line == chunk.start) {
            jumpTo = stream.jump->to;
            stream.jump.reset();
        } else if (line < chunk.start + chunk.frames) {
            chunk.frames = line - chunk.start;
        }
    }
    if (!voice.loop) {
        chunk.frames = std::min(chunk.frames, length - std::min(length, chunk.start));
        if (chunk.frames == 0) {
            stream.ended = true;
            return false;
        }
    }
    for (std::size_t i = 0; i < voice.layers.size(); ++i) {
        const int channels = voice.stream->readers[i]->Channels();
        scratch_.assign(chunk.frames * channels, 0);
        if (jumpTo) {
            // The sound left behind fades out over the first frames of the one entered.
            const std::size_t fade = std::min(kJumpFadeFrames, chunk.frames);
            fadeScratch_.assign(fade * channels, 0);
            ReadLooped(voice, i, chunk.start, fadeScratch_.data(), fade);
            ReadLooped(voice, i, *jumpTo, scratch_.data(), chunk.frames);
            for (std::size_t f = 0; f < fade; ++f) {
                const float x = (static_cast<float>(f) + 0.5f) / static_cast<float>(fade);
                const float in = std::sin(x * kHalfPi);
                const float out = std::cos(x * kHalfPi);
                for (int c = 0; c < channels; ++c) {
                    const std::size_t s = f * channels + c;
                    const float mixed = in * scratch_[s] + out * fadeScratch_[s];
                    scratch_[s] = static_cast<std::int16_t>(std::clamp(mixed, -32768.0f, 32767.0f));
                }
            }
        } else {
            ReadLooped(voice, i, chunk.start, scratch_.data(), chunk.frames);
        }
        const ALuint buffer = stream.freeBuffers[i].back();
        stream.freeBuffers[i].pop_back();
        const Sound& sound = SoundOf(voice, i);
        alBufferData(buffer, channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, scratch_.data(),
                     static_cast<ALsizei>(scratch_.size() * sizeof(std::int16_t)), sound.Rate());
        alSourceQueueBuffers(voice.sources[i], 1, &buffer);
    }
    if (jumpTo) {
        chunk.start = *jumpTo;
    }
    stream.queued.push_back(chunk);
    stream.next = chunk.start + chunk.frames;
    if (voice.loop) {
        stream.next %= length;
    } else if (stream.next >= length) {
        stream.ended = true;
    }
    return true;
}

void OpenALAudioDevice::Feed(Voice& voice) {
    if (!voice.stream || voice.sources.empty()) {
        return;
    }
    Stream& stream = *voice.stream;
    // Only chunks every layer has finished go; so every layer keeps the same chunks queued.
    ALint finished = static_cast<ALint>(stream.queued.size());
    for (ALuint source : voice.sources) {
        ALint processed = 0;
        alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
        finished = std::min(finished, processed);
    }
    for (ALint n = 0; n < finished; ++n) {
        for (std::size_t i = 0; i < voice.sources.size(); ++i) {
            ALuint buffer = 0;
            alSourceUnqueueBuffers(voice.sources[i], 1, &buffer);
            stream.freeBuffers[i].push_back(buffer);
        }
        stream.queued.pop_front();
    }
    while (QueueChunk(voice)) {
    }
    if (!voice.paused && !stream.queued.empty() && State(voice) == AL_STOPPED) {
        // The queue ran dry: every layer stopped at the same frame; all start again together.
        PlaySources(voice);
    }
}

void OpenALAudioDevice::FeedAll() {
    if (!device_) {
        return;
    }
    MakeCurrent();
    for (auto& [id, voice] : voices_) {
        Feed(voice);
    }
}

// ---- The contract

SoundId OpenALAudioDevice::LoadSound(const PcmSound& pcm) {
    std::lock_guard lock(mutex_);
    if (pcm.samples.empty() || (pcm.channels != 1 && pcm.channels != 2) || pcm.sampleRate <= 0) {
        return 0;
    }
    MakeCurrent();
    Sound sound;
    sound.pcm = pcm;
    if (device_ && !Upload(sound)) {
        return 0;
    }
    sounds_.push_back(std::move(sound));
    return static_cast<SoundId>(sounds_.size());
}

SoundId OpenALAudioDevice::LoadStreamedSound(const EncodedSound& encoded) {
    std::lock_guard lock(mutex_);
    if (!encoded.bytes || encoded.frames == 0 || (encoded.channels != 1 && encoded.channels != 2) ||
        encoded.sampleRate <= 0 || !OggVorbisReader(encoded).IsOpen()) {
        return 0;
    }
    Sound sound;
    sound.encoded = encoded;
    sounds_.push_back(std::move(sound));
    return static_cast<SoundId>(sounds_.size());
}

VoiceId OpenALAudioDevice::Play(const std::vector<VoiceLayer>& layers, bool loop, float gain,
                                std::optional<float> pan) {
    std::lock_guard lock(mutex_);
    if (layers.empty()) {
        return 0;
    }
    for (const VoiceLayer& layer : layers) {
        if (layer.sound == 0 || layer.sound > sounds_.size() ||
            sounds_[layer.sound - 1].Streamed() != sounds_[layers[0].sound - 1].Streamed()) {
            return 0;
        }
    }
    MakeCurrent();
    Voice voice;
    voice.layers = layers;
    voice.loop = loop;
    voice.gain = gain;
    voice.pan = pan;
    if (device_) {
        if (!CreateSources(voice)) {
            return 0;
        }
        PlaySources(voice);
    } else if (!loop) {
        // Cut short like every other one-shot of a lost device.
        return ++lastVoice_;
    }
    voices_.emplace(++lastVoice_, std::move(voice));
    return lastVoice_;
}

void OpenALAudioDevice::Stop(VoiceId id) {
    std::lock_guard lock(mutex_);
    if (Voice* voice = Find(id)) {
        MakeCurrent();
        DeleteSources(*voice);
        voices_.erase(id);
    }
}

void OpenALAudioDevice::SetPaused(VoiceId id, bool paused) {
    std::lock_guard lock(mutex_);
    Voice* voice = Find(id);
    if (!voice) {
        return;
    }
    voice->paused = paused;
    if (voice->sources.empty()) {
        return;
    }
    MakeCurrent();
    if (paused) {
        alSourcePausev(static_cast<ALsizei>(voice->sources.size()), voice->sources.data());
    } else if (const ALint state = State(*voice); state == AL_PAUSED || state == AL_INITIAL) {
        PlaySources(*voice);
    } else {
        Feed(*voice);  // a stream rewound while paused waits, stopped, with its queue full
    }
}

void OpenALAudioDevice::Rewind(VoiceId id) {
    std::lock_guard lock(mutex_);
    Voice* voice = Find(id);
    if (!voice) {
        return;
    }
    voice->lastSeconds = 0.0;
    if (voice->sources.empty()) {
        return;
    }
    MakeCurrent();
    if (voice->stream) {
        ClearQueues(*voice);
        voice->stream->next = 0;
        voice->stream->jump.reset();
        Feed(*voice);  // starts it again unless paused
        return;
    }
    alSourceRewindv(static_cast<ALsizei>(voice->sources.size()), voice->sources.data());
    if (!voice->paused) {
        PlaySources(*voice);
    }
}

void OpenALAudioDevice::SetGain(VoiceId id, float gain) {
    std::lock_guard lock(mutex_);
    if (Voice* voice = Find(id)) {
        voice->gain = gain;
        MakeCurrent();
        ApplyGains(*voice);
    }
}

void OpenALAudioDevice::SetLayerGain(VoiceId id, std::size_t layer, float gain) {
    std::lock_guard lock(mutex_);
    Voice* voice = Find(id);
    if (!voice || layer >= voice->layers.size()) {
        return;
    }
    voice->layers[layer].gain = gain;
    MakeCurrent();
    ApplyGains(*voice);
}

void OpenALAudioDevice::SetPan(VoiceId id, float pan) {
    std::lock_guard lock(mutex_);
    Voice* voice = Find(id);
    if (!voice || !voice->pan) {
        return;
    }
    voice->pan = pan;
    MakeCurrent();
    ApplyPlacement(*voice);
}

void OpenALAudioDevice::JumpTo(VoiceId id, double seconds, double grid) {
    std::lock_guard lock(mutex_);
    Voice* voice = Find(id);
    if (!voice || !Streamed(*voice) || seconds < 0.0 || grid <= 0.0) {
        return;
    }
    const Sound& sound = SoundOf(*voice, 0);
    const auto to = static_cast<std::size_t>(std::llround(seconds * sound.Rate()));
    if (to >= sound.Frames()) {
        return;
    }
    const Jump jump{to, static_cast<std::size_t>(std::llround(grid * sound.Rate()))};
    if (voice->stream) {
        voice->stream->jump = jump;
    } else {
        voice->pendingJump = jump;
    }
}

bool OpenALAudioDevice::IsPlaying(VoiceId id) const {
    std::lock_guard lock(mutex_);
    const Voice* voice = Find(id);
    if (!voice) {
        return false;
    }
    if (voice->sources.empty()) {
        return true;  // a looping voice waiting for its device
    }
    if (voice->stream && !voice->stream->ended) {
        return true;  // more to come, even if its queue ran dry for a moment
    }
    MakeCurrent();
    const ALint state = State(*voice);
    return state == AL_PLAYING || state == AL_PAUSED || (state == AL_INITIAL && voice->paused);
}

double OpenALAudioDevice::PlaybackSeconds(VoiceId id) const {
    std::lock_guard lock(mutex_);
    const Voice* voice = Find(id);
    if (!voice) {
        return 0.0;
    }
    MakeCurrent();
    return Seconds(*voice);
}

void OpenALAudioDevice::Update(double dt) {
    std::lock_guard lock(mutex_);
    if (!device_) {
        retryTimer_ += dt;
        if (retryTimer_ >= kRetrySeconds) {
            retryTimer_ = 0.0;
            if (Open()) {
                std::cerr << "The sound device is back.\n";
            }
        }
        return;
    }
    MakeCurrent();
    ALCint connected = ALC_TRUE;
    if (loopback_) {
        connected = loopbackConnected_ ? ALC_TRUE : ALC_FALSE;
    } else {
        alcGetIntegerv(device_, ALC_CONNECTED, 1, &connected);
    }
    if (connected != ALC_TRUE) {
        LoseDevice();
        return;
    }
    for (auto it = voices_.begin(); it != voices_.end();) {
        Voice& voice = it->second;
        if (voice.loop) {
            voice.lastSeconds = Seconds(voice);
            ++it;
        } else if (!IsPlaying(it->first)) {
            DeleteSources(voice);
            it = voices_.erase(it);
        } else {
            ++it;
        }
    }
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
        FeedAll();
        const int piece = std::min(kRenderPiece, frames - done);
        renderSamples_(device_, out.data() + static_cast<std::size_t>(done) * 2, piece);
        done += piece;
    }
    return out;
}

}  // namespace

std::unique_ptr<AudioDevice> OpenOpenALDevice(const std::string& deviceName) {
    auto device = std::make_unique<OpenALAudioDevice>(deviceName, false, 0);
    if (!device->Open()) {
        return nullptr;
    }
    return device;
}

std::unique_ptr<AudioDevice> OpenLoopbackAudioDevice(int sampleRate) {
    auto device = std::make_unique<OpenALAudioDevice>(std::string(), true, sampleRate);
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

std::unique_ptr<AudioDevice> OpenAudioDevice(const std::string& deviceName) {
    if (std::unique_ptr<AudioDevice> device = OpenOpenALDevice(deviceName)) {
        return device;
    }
    static bool told = false;
    if (!told) {
        told = true;
        std::cerr << "Sound is off: no audio device could be opened. The game plays on silently.\n";
    }
    return MakeSilentAudioDevice();
}

}  // namespace platform
