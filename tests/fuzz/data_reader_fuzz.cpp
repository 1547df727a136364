// Fuzz target: every input is read as a level file, an archetype file, a texture list and an
// animation list. Besides the sanitizers' checks, whatever the readers accept must survive the
// writer: written, read and written again, a level or archetype gives the same lines. Components
// are written in their table's order, and reading lines back re-inserts them, which reverses the
// run of names that share a hash bucket; so a second round trip must give the very same text.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "core/messaging.h"
#include "graphics/texture_lists.h"
#include "levels/data_reader.h"
#include "levels/data_writer.h"
#include "meta/data_diagnostics.h"
#include "objects/graveyard.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "objects/object_system.h"

namespace {

std::string WrittenLevel() {
    std::ostringstream out;
    WriteLevel(out, LevelObjects());
    return out.str();
}

// Whether the reader would take every line of `text` (the writer refuses longer ones).
bool ReadableLines(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() > 1023) {
            return false;
        }
    }
    return true;
}

// Whether every level object's name reads back (a level with one that does not is never saved).
bool NamesReadBack() {
    return std::all_of(LevelObjects().begin(), LevelObjects().end(),
                       [](const Object* object) { return NameReadsBack(object->GetName()); });
}

std::string SortedLines(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    std::string joined;
    for (const std::string& line : lines) {
        joined += line + '\n';
    }
    return joined;
}

void Check(bool ok, const char* what, const std::string& a, const std::string& b) {
    if (!ok) {
        std::fprintf(stderr, "%s\n--- first\n%s\n--- second\n%s\n", what, a.c_str(), b.c_str());
        std::abort();
    }
}

// What the readers accept the writer must give back: the same lines after one round trip (in
// another order, see above) and the very same text after a second.
template <class ReadAndWrite>
void CheckRoundTrips(const std::string& what, const std::string& first, ReadAndWrite readAndWrite) {
    const std::string second = readAndWrite(first);
    Check(SortedLines(first) == SortedLines(second), (what + " round trip differs").c_str(), first,
          second);
    Check(first == readAndWrite(second), (what + " second round trip differs").c_str(), first,
          second);
}

void Free() {
    DestroyAllLevelObjects();
    MessagingSystem::Reset();
    Graveyard::FreeAll();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool silenced = [] {
        DataDiagnostics::SetSink([](const std::string&) {});
        return true;
    }();
    (void)silenced;
    const std::string input(reinterpret_cast<const char*>(data), size);

    {
        std::istringstream in(input);
        ReadLevelObjects(in, "fuzz-level");
        const std::string first = WrittenLevel();
        if (ReadableLines(first) && NamesReadBack()) {
            CheckRoundTrips("level", first, [](const std::string& text) {
                DestroyAllLevelObjects();
                std::istringstream in(text);
                ReadLevelObjects(in, "fuzz-level-again");
                return WrittenLevel();
            });
        }
        Free();
    }
    {
        const auto readAndWrite = [](const std::string& text) {
            Object archetype;
            archetype.SetArchetype(true);
            std::istringstream in(text);
            ReadArchetypeComponents(in, "fuzz-archetype", archetype);
            std::ostringstream out;
            WriteArchetype(out, archetype);
            return out.str();
        };
        const std::string first = readAndWrite(input);
        if (ReadableLines(first)) {
            CheckRoundTrips("archetype", first, readAndWrite);
        }
        Free();
    }
    {
        std::istringstream textures(input);
        ReadTextureList(textures, "fuzz-textures");
        std::istringstream animations(input);
        ReadAnimationList(animations, "fuzz-animations");
    }
    return 0;
}
