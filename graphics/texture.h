// Textures and animations: PNG sprite sheets, and named runs of frames on them. Both tables are
// filled at start-up from "TextureList" and "AnimationList" and live for the whole run. A frame
// number names a cell of the 10 x 5 grid; a sheet's layout says where that cell lies in its image
// (graphics/sheet_layout.h).
//
// Start-up lists every sheet at once but reads none: a listed sheet is read the first time
// anything asks for its image or layout (FinishLoading), or earlier, one at a time, by
// LoadNextListedTexture, which the renderer calls while the first screens show. So what a frame
// draws never depends on how far that has got. A sheet read may be released again (the renderer
// releases big pictures no longer shown); it is then listed again and read on its next use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "core/name_table.h"
#include "graphics/sheet_layout.h"

namespace platform {
class GpuTexture;
struct Image;
struct TextureOptions;
}  // namespace platform

struct Texture {
    std::string name;
    // The uploaded image; null while the sheet waits to be read, when reading failed, or when no
    // renderer is installed.
    platform::GpuTexture* image = nullptr;
    // Where the frames lie in the image: the plain grid until a packed sheet says otherwise.
    SheetLayout layout;
    // Listed but not read yet.
    bool listed = false;
    // Bytes of decoded pixels handed to the renderer (0 until read).
    std::size_t decodedBytes = 0;
    // The renderer's count of level starts when it last drew the sheet.
    std::uint64_t shownInLevel = 0;
};

struct Animation {
    // Null when the texture table has no sheet of that name.
    Texture* texture = nullptr;
    unsigned int startFrame = 0;
    unsigned int frameCount = 1;
    float frameDuration = 1.0f;
    // Its name in the animation table.
    std::string name;
};

// First wins: a later entry with a name already present is ignored.
NameTable<Texture*>& TextureTable();
NameTable<Animation*>& AnimationTable();
// Empties both tables, freeing their records (not the images, which belong to the graphics
// device), and forgets the sheets still waiting to be read. For tests and tools that load several
// sets in one process; nothing may still point at an animation.
void ClearTextureTables();

// Reads "<name>.png" from the data folders (Assets::PathOf) now, prints "Texture <name> loaded" or
// "Texture <name>Not properly loaded", and files it in the texture table.
Texture* LoadTexture(const std::string& name);
// Files "<name>.png" in the texture table to be read later; the line is printed when it is read.
Texture* ListTexture(const std::string& name);
// Reads a listed sheet now; nothing for one already read.
void FinishLoading(Texture& texture);
// Reads the first listed sheet still waiting, in list order, passing over (for good) sheets whose
// pixels would take more than `largestBytes`: those are read on first use. False when none waits.
bool LoadNextListedTexture(std::size_t largestBytes = SIZE_MAX);
// Gives the sheet's image back to the renderer; the sheet is read again on its next use.
void ReleaseTexture(Texture& texture);
std::size_t ListedTexturesWaiting();
// The decoded pixels of every sheet read so far, in bytes.
std::size_t DecodedTextureBytes();

// The renderer installs the functions that upload a decoded sheet and free an uploaded one (its
// graphics device's) and removes them when it goes; without a loader, sheets are not decoded and
// load without an image.
using TextureLoader =
    std::function<platform::GpuTexture*(const platform::Image&, const platform::TextureOptions&)>;
using TextureReleaser = std::function<void(platform::GpuTexture*)>;
void SetTextureLoader(TextureLoader loader, TextureReleaser releaser = nullptr);

// Resolves the sheet through the texture table and files the animation under `name`.
Animation* AddAnimation(const std::string& name, const std::string& textureName,
                        unsigned int startFrame, unsigned int frameCount, float frameDuration);
