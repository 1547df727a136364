// The texture and animation lists: "TextureList" names one sheet per line ("assets/<name>.png"),
// "AnimationList" one animation per line ("name texture startFrame frameCount frameDuration", the
// last three optional). LoadGameData loads them at start-up, textures first, since an animation
// finds its sheet by name. The texture list files each sheet to be read later (ListTexture): on
// first use, or by the renderer once the first screen shows.
//
// Bad lines follow the data readers' rule: one diagnostic naming the file and line, the line
// skipped. A file that cannot be opened reads as empty; the first entry under a name wins.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Fill the texture and animation tables from the list files found through Assets::PathOf.
void LoadTextureList(const std::string& name);
void LoadAnimationList(const std::string& name);

struct TextureListEntry {
    std::string name;
    int line = 0;
};
struct AnimationListEntry {
    std::string name;
    std::string texture;
    unsigned int startFrame = 1;
    unsigned int frameCount = 1;
    float frameDuration = 1.0f;
    int line = 0;
};
// The entries of the lists in file order (duplicates included), each with its line number.
std::vector<TextureListEntry> ReadTextureList(std::istream& in, const std::string& file);
std::vector<AnimationListEntry> ReadAnimationList(std::istream& in, const std::string& file);
