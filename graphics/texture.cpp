#include "graphics/texture.h"

#include <deque>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <utility>
#include <vector>

#include "meta/assets.h"
#include "meta/data_diagnostics.h"
#include "meta/meta_registration.h"
#include "platform/graphics_device.h"
#include "platform/png_codec.h"

VORL_REGISTER_TYPE(Texture, "Texture") {
    VORL_MEMBERS(meta, name);
}

namespace {

// The text chunk of a packed sheet's PNG that holds its layout.
constexpr const char* kLayoutChunk = "Vorl sheet";

TextureLoader& Loader() {
    static TextureLoader loader = nullptr;
    return loader;
}

TextureReleaser& Releaser() {
    static TextureReleaser releaser = nullptr;
    return releaser;
}

// Sheets listed and not read yet, in list order. A sheet read early on demand stays here until
// the queue reaches it and finds it read.
std::deque<Texture*>& Waiting() {
    static auto& waiting = *new std::deque<Texture*>;
    return waiting;
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

std::string PathOf(const Texture& texture) {
    return Assets::ReadPathOf(texture.name + ".png", "a picture");
}

// Says which picture is missing, empty or unreadable; the texture then draws as a placeholder.
void ReportUnloadable(const std::string& name, const std::string& path) {
    std::error_code error;
    std::string why = "cannot be read as a picture (corrupt?)";
    if (path.empty()) {
        why = "is refused: the name leaves the data folder";
    } else if (!std::filesystem::exists(path, error)) {
        why = "is missing";
    } else if (std::filesystem::file_size(path, error) == 0) {
        why = "is empty";
    }
    DataDiagnostics::Report(
        path.empty() ? name + ".png" : path, 0,
        "the picture of texture \"" + name + "\" " + why + "; it draws as a placeholder");
}

// Reads the sheet from `bytes`, the whole file (empty when it could not be read).
void Read(Texture& texture, const std::vector<std::uint8_t>& bytes) {
    texture.listed = false;
    if (Loader()) {
        const std::string path = PathOf(texture);
        platform::Image pixels;
        if (!bytes.empty() && platform::DecodePng(bytes, pixels)) {
            const auto layout = platform::PngText(bytes, kLayoutChunk);
            texture.layout = layout ? SheetLayout::Read(*layout, pixels.width, pixels.height, path)
                                    : SheetLayout::Grid(pixels.width, pixels.height);
            texture.layout.FindOpaqueFrames(pixels);
            texture.image = Loader()(pixels, {texture.layout.Mipmaps()});
            texture.decodedBytes = texture.image ? pixels.rgba.size() : 0;
        }
        if (!texture.image) {
            ReportUnloadable(texture.name, path);
        }
    }
    std::cout << "Texture " << texture.name << (texture.image ? " loaded" : "Not properly loaded")
              << '\n';
}

void Read(Texture& texture) {
    std::vector<std::uint8_t> bytes;
    if (Loader()) {
        ReadWholeFile(PathOf(texture), bytes);
    }
    Read(texture, bytes);
}

Texture* File(Texture* texture) {
    if (!TextureTable().Insert(texture->name, texture).second) {
        Texture* first = TextureTable().Get(texture->name);
        delete texture;
        return first;
    }
    return texture;
}

}  // namespace

// The tables live for the whole run and are never destroyed.
NameTable<Texture*>& TextureTable() {
    static auto& table = *new NameTable<Texture*>;
    return table;
}

NameTable<Animation*>& AnimationTable() {
    static auto& table = *new NameTable<Animation*>;
    return table;
}

void ClearTextureTables() {
    for (auto& [name, animation] : AnimationTable()) {
        delete animation;
    }
    AnimationTable().Clear();
    for (auto& [name, texture] : TextureTable()) {
        delete texture;
    }
    TextureTable().Clear();
    Waiting().clear();
}

void SetTextureLoader(TextureLoader loader, TextureReleaser releaser) {
    Loader() = std::move(loader);
    Releaser() = std::move(releaser);
}

Texture* LoadTexture(const std::string& name) {
    auto* texture = new Texture;
    texture->name = name;
    Read(*texture);
    return File(texture);
}

Texture* ListTexture(const std::string& name) {
    auto* texture = new Texture;
    texture->name = name;
    texture->listed = true;
    Texture* filed = File(texture);
    if (filed == texture) {
        Waiting().push_back(texture);
    }
    return filed;
}

void FinishLoading(Texture& texture) {
    if (texture.listed) {
        Read(texture);
    }
}

bool LoadNextListedTexture(std::size_t largestBytes) {
    while (!Waiting().empty()) {
        Texture* texture = Waiting().front();
        Waiting().pop_front();
        if (!texture->listed) {
            continue;
        }
        std::vector<std::uint8_t> bytes;
        if (Loader()) {
            ReadWholeFile(PathOf(*texture), bytes);
        }
        int width = 0;
        int height = 0;
        if (platform::PngSize(bytes, width, height) &&
            static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4 > largestBytes) {
            continue;
        }
        Read(*texture, bytes);
        return true;
    }
    return false;
}

void ReleaseTexture(Texture& texture) {
    if (!texture.image) {
        return;
    }
    if (Releaser()) {
        Releaser()(texture.image);
    }
    texture.image = nullptr;
    texture.decodedBytes = 0;
    texture.listed = true;
}

std::size_t ListedTexturesWaiting() {
    std::size_t waiting = 0;
    for (const Texture* texture : Waiting()) {
        waiting += texture->listed ? 1 : 0;
    }
    return waiting;
}

std::size_t DecodedTextureBytes() {
    std::size_t bytes = 0;
    for (const auto& [name, texture] : TextureTable()) {
        bytes += texture->decodedBytes;
    }
    return bytes;
}

Animation* AddAnimation(const std::string& name, const std::string& textureName,
                        unsigned int startFrame, unsigned int frameCount, float frameDuration) {
    auto* animation =
        new Animation{TextureTable().Get(textureName), startFrame, frameCount, frameDuration, name};
    if (!AnimationTable().Insert(name, animation).second) {
        delete animation;
        return AnimationTable().Get(name);
    }
    return animation;
}
