#include "editor/level_saves.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

#include "editor/placement.h"
#include "levels/data_writer.h"
#include "meta/assets.h"
#include "meta/data_diagnostics.h"
#include "meta/safe_file.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"

namespace EditorSaves {
namespace {

// Whether the data file `name` holds a level: an object block opens with "{".
bool HoldsLevel(const std::string& name) {
    std::ifstream in(Assets::PathOf(name), std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.front() == '{') {
            return true;
        }
    }
    return false;
}

// The text of the data file `name`, or nothing when there is none.
std::optional<std::string> FileText(const std::string& name) {
    std::string text;
    std::string why;
    const std::filesystem::path file = Assets::PathOf(name);
    std::error_code error;
    if (file.empty() || !std::filesystem::exists(file, error) ||
        !SafeFile::ReadAll(file, &text, &why)) {
        return std::nullopt;
    }
    return text;
}

// Keeps the data file `name` (when it exists: the player's own or the shipped one, and differs
// from `newText`) as the newest backup in the saves folder, the older ones moving down a
// generation. False, with the reason, when the backup could not be written; the older backups are
// then untouched.
bool KeepBackups(const std::string& name, const std::string& newText, std::string* why) {
    const std::filesystem::path file = Assets::PathOf(name);
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        return true;
    }
    std::string text;
    SafeFile::Pending newest;
    if (!SafeFile::ReadAll(file, &text, why)) {
        *why = "the backup of " + file.string() + " could not be written (" + *why + ")";
        return false;
    }
    if (text == newText) {
        return true;
    }
    if (!newest.Write(Assets::SavePathOf(BackupName(name)), text, why)) {
        *why = "the backup of " + file.string() + " could not be written (" + *why + ")";
        return false;
    }
    for (int generation = kBackupGenerations - 1; generation >= 1; --generation) {
        const std::filesystem::path older = Assets::SavePathOf(BackupName(name, generation));
        if (std::filesystem::exists(older, error)) {
            std::filesystem::rename(older, Assets::SavePathOf(BackupName(name, generation + 1)),
                                    error);
        }
    }
    if (!newest.Commit(why)) {
        *why = "the backup of " + file.string() + " could not be put in place (" + *why + ")";
        return false;
    }
    return true;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : "; ") + line;
    }
    return text.empty() ? "the file could not be written" : text;
}

Outcome Told(Outcome outcome) {
    (outcome.saved ? std::cout : std::cerr) << outcome.message << std::endl;
    return outcome;
}

Outcome NotSaved(const std::string& name, const std::string& why) {
    return Told({false, "\"" + name + "\" was not saved: " + why + ". Nothing on disk changed."});
}

}  // namespace

std::string BackupName(const std::string& name, int generation) {
    return name + ".bak" + (generation > 1 ? std::to_string(generation) : "");
}

std::string ReservedBecause(const std::string& name, bool asArchetype) {
    std::string why;
    if (!Assets::IsPlainName(name, &why)) {
        return why + "; a name must be a plain file name inside the data folder";
    }
    if (name.find('.') != std::string::npos) {
        return "data names have no extension, and \"" + name +
               "\" could be one of the game's own files (a picture, the shader, a backup)";
    }
    // Whatever else the game opens by itself: its lists, the sound bank and sounds, the effect,
    // the pictures, the recordings. Levels and archetypes are told apart below.
    if (const std::string what = Assets::ReadAs(name);
        !what.empty() && what != Assets::kArchetype && what != Assets::kLevel) {
        return "\"" + name + "\" is " + what + " the game reads";
    }
    if (!asArchetype && ArchetypeTable().Get(name)) {
        return "\"" + name + "\" is the file of the archetype " + name;
    }
    const auto& levels = LevelManager::LevelTable();
    if (asArchetype &&
        (std::find(levels.begin(), levels.end(), name) != levels.end() || HoldsLevel(name))) {
        return "\"" + name + "\" is a level file";
    }
    std::error_code error;
    if (std::filesystem::is_directory(Assets::PathOf(name), error)) {
        return "\"" + name + "\" is a folder of the game's data";
    }
    return {};
}

bool WouldEmptyLevelFile(const std::string& name) {
    return LevelObjects().empty() && Assets::IsPlainName(name) && HoldsLevel(name);
}

Outcome SaveLevel(const std::string& name) {
    if (const std::string reserved = ReservedBecause(name, false); !reserved.empty()) {
        return NotSaved(name, "the name is refused: " + reserved);
    }
    // The physics, which keeps colliders the size of their objects, is still in the editor.
    Placement::FitBoxCollidersToScale(LevelObjects());
    const std::string text = LevelText(LevelObjects());
    if (FileText(name) == text && Assets::PathOf(name) == Assets::SavePathOf(name)) {
        return Told(
            {true, "Level \"" + name + "\" saved to " + Assets::PathOf(name) + " (unchanged)"});
    }
    std::string why;
    DataDiagnostics::Collector reports;
    if (!::SaveLevel(name, [&] { return KeepBackups(name, text, &why); })) {
        return NotSaved(name, why.empty() ? Joined(reports.Lines()) : why);
    }
    return Told({true, "Level \"" + name + "\" saved to " + Assets::PathOf(name)});
}

Outcome SaveArchetype(Object* selected) {
    if (!selected) {
        return {false, "No archetype is selected."};
    }
    const std::string name = selected->GetName();
    if (const std::string reserved = ReservedBecause(name, true); !reserved.empty()) {
        return NotSaved(name, "the name is refused: " + reserved);
    }
    std::ostringstream archetype;
    WriteArchetype(archetype, *selected);
    std::string list;
    bool listed = false;
    for (const auto& [listedName, object] : ArchetypeTable()) {
        list += listedName + '\n';
        listed = listed || listedName == name;
    }
    list += listed ? "" : name + '\n';
    std::string why;
    DataDiagnostics::Collector reports;
    const auto keep = [&] {
        return KeepBackups(name, archetype.str(), &why) && KeepBackups("Objects", list, &why);
    };
    if (!::SaveArchetype(selected, keep)) {
        return NotSaved(name, why.empty() ? Joined(reports.Lines()) : why);
    }
    return Told({true, "Archetype \"" + name + "\" saved to " + Assets::PathOf(name)});
}

}  // namespace EditorSaves
