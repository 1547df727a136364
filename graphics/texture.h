// Textures and animations: PNG sprite sheets loaded once, and named runs of frames on them. Both
// tables are filled at start-up from "TextureList" and "AnimationList" and live for the whole run.
// Every sheet is a grid of 10 columns by 5 rows.
#pragma once

#include <functional>
#include <string>

#include "core/name_table.h"

namespace platform {
class GpuTexture;
}

struct Texture {
    std::string name;
    // The loaded image; null when loading failed or nothing can draw (headless).
    platform::GpuTexture* image = nullptr;
};

struct Animation {
    // Null when the texture table has no sheet of that name.
    Texture* texture = nullptr;
    unsigned int startFrame = 0;
    unsigned int frameCount = 1;
    float frameDuration = 1.0f;
    std::string name;
};

// First wins: a later entry with a name already present is ignored.
NameTable<Texture*>& TextureTable();
NameTable<Animation*>& AnimationTable();
// Empties both tables, freeing their records (not the images, which belong to the graphics
// device). For tests and tools that load several sets in one process; nothing may still point
// at an animation.
void ClearTextureTables();

// Loads "<name>.png" from the data folders (Assets::PathOf) through the current texture loader,
// prints "Texture <name> loaded" or "Texture <name>Not properly loaded", and files it in the
// texture table.
Texture* LoadTexture(const std::string& name);

// The renderer installs the function that turns a PNG path into an image (its graphics device's
// loader) and removes it when it goes; without one textures load without an image.
using TextureLoader = std::function<platform::GpuTexture*(const std::string& path)>;
void SetTextureLoader(TextureLoader loader);

// Resolves the sheet through the texture table and files the animation under `name`.
Animation* AddAnimation(const std::string& name, const std::string& textureName,
                        unsigned int startFrame, unsigned int frameCount, float frameDuration);
