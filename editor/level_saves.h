// The editor's saves, with the two guards designers need: every save first keeps the file it is
// about to replace beside it as "<name>.bak" (one generation: the next save replaces the backup),
// and an empty level is not written over a file that holds objects unless the designer confirms.
// The writing itself is meta/data_writer.h's, which never leaves a half-written file.
#pragma once

#include <string>

class Object;

namespace EditorSaves {

// The backup file name of the data file `name`.
std::string BackupName(const std::string& name);

// True when saving the current level as `name` would write an empty level over a level file
// that holds at least one object.
bool WouldEmptyLevelFile(const std::string& name);

// Keeps the backup, then writes LevelObjects to the level file `name`. True when written.
bool SaveLevelKeepingBackup(const std::string& name);
// Keeps backups of the archetype file and of the archetype list, then saves `selected` as an
// archetype (which reloads every archetype).
void SaveArchetypeKeepingBackup(Object* selected);

}  // namespace EditorSaves
