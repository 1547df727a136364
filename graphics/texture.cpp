#include "graphics/texture.h"

#include <filesystem>

#include <iostream>
#include <utility>

#include "meta/assets.h"
#include "meta/data_diagnostics.h"
#include "meta/meta_registration.h"

VORL_REGISTER_TYPE(Texture, "Texture") {
    meta.Member("name", &Texture::name);
}

namespace {
TextureLoader& Loader() {
    static TextureLoader loader = nullptr;
    return loader;
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
}

// Says which picture is missing, empty or unreadable; the texture then draws as a placeholder.
static void ReportUnloadable(const std::string& name, const std::string& path) {
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

void SetTextureLoader(TextureLoader loader) {
    Loader() = std::move(loader);
}

Texture* LoadTexture(const std::string& name) {
    auto* texture = new Texture{name, nullptr};
    if (Loader()) {
        const std::string path = Assets::PathOf(name + ".png");
        texture->image = Loader()(path);
        if (!texture->image) {
            ReportUnloadable(name, path);
        }
    }
    std::cout << "Texture " << name << (texture->image ? " loaded" : "Not properly loaded") << '\n';
    if (!TextureTable().Insert(name, texture).second) {
        delete texture;
        return TextureTable().Get(name);
    }
    return texture;
}

Animation* AddAnimation(const std::string& name, const std::string& textureName,
                        unsigned int startFrame, unsigned int frameCount, float frameDuration) {
    auto* animation =
        new Animation{TextureTable().Get(textureName), startFrame, frameCount, frameDuration, {}};
    if (!AnimationTable().Insert(name, animation).second) {
        delete animation;
        return AnimationTable().Get(name);
    }
    return animation;
}
