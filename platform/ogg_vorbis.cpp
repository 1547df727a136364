// Ogg Vorbis decoding through stb_vorbis, whose implementation lives in its own C target; here
// only its declarations are seen.
#include <filesystem>

#include "platform/audio_device.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

namespace platform {

namespace {
constexpr std::uintmax_t kMaxFileBytes = 64u * 1024u * 1024u;
constexpr double kMaxSeconds = 600.0;
}  // namespace

bool DecodeOggVorbis(const std::string& path, PcmSound& out, std::string& why) {
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(path, error);
    if (error) {
        why = "cannot be opened";
        return false;
    }
    if (bytes > kMaxFileBytes) {
        why = "is larger than 64 MB";
        return false;
    }
    int code = 0;
    stb_vorbis* vorbis = stb_vorbis_open_filename(path.c_str(), &code, nullptr);
    if (!vorbis) {
        why = "is not Ogg Vorbis (decoder error " + std::to_string(code) + ")";
        return false;
    }
    const stb_vorbis_info info = stb_vorbis_get_info(vorbis);
    const unsigned frames = stb_vorbis_stream_length_in_samples(vorbis);
    bool ok = true;
    if (info.channels < 1 || info.channels > 2) {
        why = "has " + std::to_string(info.channels) + " channels (1 or 2 are played)";
        ok = false;
    } else if (frames == 0 || frames > kMaxSeconds * info.sample_rate) {
        why = frames == 0 ? "holds no sound" : "is longer than ten minutes";
        ok = false;
    }
    if (ok) {
        out.channels = info.channels;
        out.sampleRate = static_cast<int>(info.sample_rate);
        out.samples.assign(static_cast<std::size_t>(frames) * info.channels, 0);
        const int got = stb_vorbis_get_samples_short_interleaved(
            vorbis, info.channels, out.samples.data(), static_cast<int>(out.samples.size()));
        out.samples.resize(static_cast<std::size_t>(got) * info.channels);
        if (got == 0) {
            why = "holds no decodable sound";
            ok = false;
        }
    }
    stb_vorbis_close(vorbis);
    return ok;
}

}  // namespace platform
