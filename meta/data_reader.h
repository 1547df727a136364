// The data-file readers: the archetype list and archetype files, level files, and the texture and
// animation lists, all found through Assets::PathOf. Called at start-up (LoadGameData), by the
// level sequencer (LoadLevel) and by the editor.
//
// Bad data never stops a reader: each problem line gets one diagnostic (DataDiagnostics, naming
// the file and line) and is skipped, and reading goes on with the next line. A file that cannot be
// opened reads as empty. The stream forms read the same syntax from any stream; they send no
// message, so tests, tools and the fuzzer can drive them directly.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class Object;

// Reads "Objects" and loads every archetype it names, then sends ArchetypesLoaded.
void LoadArchetypes();
// Loads the archetype file `name` into a new archetype filed under `name` in the ArchetypeTable.
// False when the name was already filed (the first archetype stays, the new one is discarded).
bool LoadArchetype(const std::string& name);
// Appends the objects of the level file `name` to LevelObjects, then sends LevelObjectsLoaded.
void LoadLevel(const std::string& name);
// Fill the texture and animation tables (first entry under a name wins).
void LoadTextureList(const std::string& name);
void LoadAnimationList(const std::string& name);

// Adds the component lines of an archetype file to `archetype`.
void ReadArchetypeComponents(std::istream& in, const std::string& file, Object& archetype);
// Appends the complete object blocks of a level file to LevelObjects.
void ReadLevelObjects(std::istream& in, const std::string& file);

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

// Whole degrees from radians as the level files store them: d = radians x 180 / 3.141593, rounded
// to the nearest whole degree (halves away from zero), so that what the writer wrote reads back
// to the same degree whatever its sign. False when |d| exceeds kMaxLevelRotationDegrees.
inline constexpr float kMaxLevelRotationDegrees = 1.0e6f;
bool LevelRotationDegrees(float radians, int& degrees);
