#include "editor/level_saves.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "meta/assets.h"
#include "meta/data_diagnostics.h"
#include "meta/data_writer.h"
#include "objects/level_objects.h"
#include "objects/object.h"

namespace EditorSaves {
namespace {

// Copies the data file `name` (when it exists: the player's own or the shipped one) over its
// backup in the saves folder. A name the writer would refuse is left alone: nothing will replace
// its file.
void KeepBackup(const std::string& name) {
    if (!Assets::IsPlainName(name)) {
        return;
    }
    const std::filesystem::path file = Assets::PathOf(name);
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return;
    }
    std::filesystem::copy_file(file, Assets::SavePathOf(BackupName(name)),
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
        DataDiagnostics::Report(
            Assets::PathOf(name), 0,
            "backup before saving failed: " + error.message() + "; the file is saved without one");
    }
}

}  // namespace

std::string BackupName(const std::string& name) {
    return name + ".bak";
}

bool WouldEmptyLevelFile(const std::string& name) {
    if (!LevelObjects().empty() || !Assets::IsPlainName(name)) {
        return false;
    }
    std::ifstream in(Assets::PathOf(name), std::ios::binary);
    // An object block opens with "{"; a file without one holds no object.
    for (std::string line; std::getline(in, line);) {
        if (line.find('{') != std::string::npos) {
            return true;
        }
    }
    return false;
}

bool SaveLevelKeepingBackup(const std::string& name) {
    KeepBackup(name);
    if (!SaveLevel(name)) {
        return false;
    }
    std::cout << "Level \"" << name << "\" saved to " << Assets::PathOf(name) << std::endl;
    return true;
}

void SaveArchetypeKeepingBackup(Object* selected) {
    if (!selected) {
        return;
    }
    KeepBackup(selected->GetName());
    KeepBackup("Objects");
    const std::string name = selected->GetName();
    if (SaveArchetype(selected)) {
        std::cout << "Archetype \"" << name << "\" saved to " << Assets::PathOf(name)
                  << std::endl;
    }
}

}  // namespace EditorSaves
