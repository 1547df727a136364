// Streamed voices: every layer keeps the same chunks queued, decoded a chunk at a time, with the
// jumps on a beat and the crossfade they make.
#include "platform/openal/openal_device.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

// A streamed layer's queue: kChunks chunks of kChunkFrames frames, about half a second at
// 44.1 kHz.
constexpr std::size_t kChunkFrames = 4096;
constexpr std::size_t kChunks = 6;
// A jump crossfades the sound it leaves into the one it enters over this many frames.
constexpr std::size_t kJumpFadeFrames = 512;

}  // namespace

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

}  // namespace platform
