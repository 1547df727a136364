// level_inspector: loads the archetypes and one level from an assets folder and prints every
// object of the level in the meta dump format, with the readers' diagnostics on standard error.
//
//   level_inspector <assets-folder> <level-name> [--write <level-name>] [--help]
//
// --write saves the loaded level back through the writer under the given name (in the same
// folder), so a round trip can be checked with diff. Exit status: 0 when the files read cleanly,
// 1 when any diagnostic was printed or the level file is missing, 2 for a usage error or an assets
// folder that does not exist.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "core/messaging.h"
#include "levels/data_reader.h"
#include "levels/data_writer.h"
#include "meta/assets.h"
#include "meta/data_diagnostics.h"
#include "meta/meta_value.h"
#include "objects/graveyard.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "objects/object_system.h"
#include "tools/command_line.h"

namespace {

void FreeEverything() {
    DestroyAllLevelObjects();
    DestroyAllArchetypes();
    MessagingSystem::Reset();
    Graveyard::FreeAll();
}

}  // namespace

int main(int argc, char** argv) {
    std::string writeName;
    tools::CommandLine line("level_inspector", {"<assets-folder>", "<level-name>"});
    line.Add({"--write", "<level-name>", "save the loaded level under this name (same folder)",
              [&](const std::string& value) {
                  writeName = value;
                  return std::string();
              }});
    std::vector<std::string> positionals;
    if (const auto status = line.StartWithAssets(argc, argv, positionals)) {
        return *status;
    }
    const std::string& level = positionals[1];
    if (!std::filesystem::is_regular_file(Assets::PathOf(level))) {
        DataDiagnostics::Report(Assets::PathOf(level), 0, "level file not found");
        return 1;
    }

    LoadArchetypes();
    LoadLevel(level);
    for (Object* object : LevelObjects()) {
        Dump(std::cout, MetaValue(MetaTypeOf<Object>(), object, object->GetName()));
    }
    bool saved = true;
    if (!writeName.empty()) {
        saved = SaveLevel(writeName);
    }
    const bool clean = DataDiagnostics::Count() == 0 && saved;
    FreeEverything();
    return clean ? 0 : 1;
}
