// The editor's autosave: the level being edited, written after every finished edit that leaves it
// different from its file, so that work survives a crash, a kill or a "Discard". The next F5
// offers it back. It is one file in the saves folder, "editor.autosave": its first line is the
// level's name (empty for a level not yet named), the rest the level's text. Its name holds a
// point, so no level or archetype save can ever take it.
#pragma once

#include <optional>
#include <string>

namespace Autosave {

inline constexpr const char* kFileName = "editor.autosave";

struct Contents {
    std::string levelName;
    std::string levelText;
};

// Writes it (atomically); false when it could not be written, which is reported once.
bool Write(const std::string& levelName, const std::string& levelText);
std::optional<Contents> Read();
void Remove();

}  // namespace Autosave
