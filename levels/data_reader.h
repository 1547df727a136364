// The data-file readers: the archetype list and archetype files and level files, all found through
// Assets::PathOf (graphics/texture_lists.h reads the texture and animation lists the same way).
// Called at start-up (LoadGameData), by the level sequencer (LoadLevel) and by the editor.
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
// Adds the component lines of an archetype file to `archetype`.
void ReadArchetypeComponents(std::istream& in, const std::string& file, Object& archetype);
// Appends the complete object blocks of a level file to LevelObjects.
void ReadLevelObjects(std::istream& in, const std::string& file);

// Whole degrees from radians as the level files store them: d = radians x 180 / 3.141593, rounded
// to the nearest whole degree (halves away from zero), so that what the writer wrote reads back
// to the same degree whatever its sign. False when |d| exceeds kMaxLevelRotationDegrees.
inline constexpr float kMaxLevelRotationDegrees = 1.0e6f;
bool LevelRotationDegrees(float radians, int& degrees);
