// level_inspector: loads the archetypes and one level from an assets folder and prints every
// object of the level in the meta dump format, with the readers' diagnostics on standard error.
//
//   level_inspector <assets-folder> <level-name> [--write <level-name>]
//
// --write saves the loaded level back through the writer under the given name (in the same
// folder), so a round trip can be checked with diff. Exit status: 0 when the files read cleanly,
// 1 when any diagnostic was printed or the level file is missing, 2 for a usage error.
#include <filesystem>
#include <iostream>
#include <string>

#include "core/messaging.h"
#include "meta/assets.h"
#include "meta/data_diagnostics.h"
#include "meta/data_reader.h"
#include "meta/data_writer.h"
#include "meta/meta_value.h"
#include "objects/graveyard.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "objects/object_system.h"

namespace {

int Usage() {
    std::cerr << "usage: level_inspector <assets-folder> <level-name> [--write <level-name>]\n";
    return 2;
}

void FreeEverything() {
    DestroyAllLevelObjects();
    DestroyAllArchetypes();
    MessagingSystem::Reset();
    Graveyard::FreeAll();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        return Usage();
    }
    std::string writeName;
    if (argc == 5) {
        if (std::string(argv[3]) != "--write") {
            return Usage();
        }
        writeName = argv[4];
    }
    Assets::SetRoot(argv[1]);
    const std::string level = argv[2];
    if (!std::filesystem::is_regular_file(Assets::PathOf(level))) {
        DataDiagnostics::Report(Assets::PathOf(level), 0, "level file not found");
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
