// The editor's saves, with the guards designers need:
// - a save that changes the file's text first keeps the file it is about to replace as
//   "<name>.bak", the older backups moving down to "<name>.bak2" ... "<name>.bak5" and the oldest
//   dropped; a save of the same text keeps every backup as it is, so saving again never pushes a
//   good copy out. The new file is written first and the backup like the file itself
//   (meta/safe_file.h); only when both are safely on disk do they take their places, so no
//   failure damages the file or the last good backup, and a save whose backup cannot be written
//   does not happen.
// - a name that would overwrite one of the game's own files (any file the game has opened as
//   other than what is saved: the lists, the sound bank, an archetype for a level, a level for
//   an archetype; any name with an extension: pictures, the shader, backups) is refused with the
//   reason.
// - an empty level is not written over a file that holds objects unless the designer confirms.
// Each save returns the sentence the designer reads on screen, which is also printed.
#pragma once

#include <string>

class Object;

namespace EditorSaves {

inline constexpr int kBackupGenerations = 5;

// "<name>.bak" for generation 1, "<name>.bak<generation>" for the older ones.
std::string BackupName(const std::string& name, int generation = 1);

// Why saving a level (or, with `asArchetype`, an archetype) as `name` would overwrite one of the
// game's own files; empty when the name is free for it.
std::string ReservedBecause(const std::string& name, bool asArchetype);

// True when saving the current level as `name` would write an empty level over a level file
// that holds at least one object.
bool WouldEmptyLevelFile(const std::string& name);

struct Outcome {
    bool saved = false;
    // What happened, in words: where the file went, or why nothing was written.
    std::string message;
};

// Keeps the backups, then writes LevelObjects to the level file `name`.
Outcome SaveLevel(const std::string& name);
// Keeps backups of the archetype file and of the archetype list, then saves `selected` as an
// archetype (which reloads every archetype).
Outcome SaveArchetype(Object* selected);

}  // namespace EditorSaves
