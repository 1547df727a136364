// A table of broken data files, each read the way the game reads it: every one says what is wrong
// in one line naming the file (and the line where there is one), in plain words, and ends in a
// safe result.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "graphics/texture.h"
#include "graphics/texture_lists.h"
#include "levels/data_reader.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "support/data_file_test.h"
#include "support/test_components.h"

namespace {

struct BrokenFile {
    const char* name;
    const char* file;  // written into the assets folder unless empty
    std::string text;
    std::function<void()> read;
    const char* says;  // a line holding this is reported
    std::function<bool()> safe;
};

const char* const kBlock = "{\nTransform2D 0.0 0.0 1.0 1.0 1.0 0.0\n";

const BrokenFile kBroken[] = {
    {"MissingClosingBrace", "level_X", std::string("A\n") + kBlock + "B\n" + kBlock + "}\n",
     [] { LoadLevel("level_X"); },
     "level_X:4: object \"A\" has no closing \"}\"; it ends here, where \"B\" begins",
     [] {
         return testing_support::LevelObjectNames() == std::vector<std::string>{"A", "B"};
     }},
    {"BinaryGarbage", "level_X", std::string("A\n") + kBlock + "\x1b[31m\x01\xff \n}\n",
     [] { LoadLevel("level_X"); }, "unknown component class \"\\x1b[31m\\x01\\xff\"",
     [] { return testing_support::LevelObjectNames() == std::vector<std::string>{"A"}; }},
    {"ArchetypeClimbsOut", "Objects", "../../../etc/passwd\n", [] { LoadArchetypes(); },
     "Objects:1: archetype name \"../../../etc/passwd\" refused: the name holds a path separator",
     [] { return ArchetypeTable().Empty(); }},
    {"ArchetypeBackslash", "Objects", "..\\secret\n", [] { LoadArchetypes(); },
     "refused: the name holds a path separator", [] { return ArchetypeTable().Empty(); }},
    {"NoArchetypeList", "", "", [] { LoadArchetypes(); },
     "Objects: the archetype list is missing; there are no archetypes",
     [] { return ArchetypeTable().Empty(); }},
    {"NoTextureList", "", "", [] { LoadTextureList("TextureList"); },
     "TextureList: the texture list is missing", [] { return TextureTable().Empty(); }},
    {"EmptyTextureList", "TextureList", "", [] { LoadTextureList("TextureList"); },
     "TextureList: the texture list names no picture", [] { return TextureTable().Empty(); }},
    {"TextureClimbsOut", "TextureList", "../../outside\n", [] { LoadTextureList("TextureList"); },
     "TextureList:1: texture name \"../../outside\" refused",
     [] { return TextureTable().Empty(); }},
    {"MissingPicture", "TextureList", "Absent\n",
     [] {
         SetTextureLoader(
             [](const platform::Image&, const platform::TextureOptions&) { return nullptr; });
         LoadTextureList("TextureList");
         while (LoadNextListedTexture()) {
         }
         SetTextureLoader(nullptr);
     },
     "Absent.png: the picture of texture \"Absent\" is missing; it draws as a placeholder",
     [] { return TextureTable().Contains("Absent"); }},
};

class BrokenFileTest : public testing_support::DataFileTest,
                       public ::testing::WithParamInterface<BrokenFile> {};

TEST_P(BrokenFileTest, SaysWhatIsWrongAndEndsSafely) {
    const BrokenFile& broken = GetParam();
    if (*broken.file) {
        assets.Write(broken.file, broken.text);
    }
    broken.read();
    EXPECT_TRUE(diagnostics.Contains(broken.says)) << testing::PrintToString(diagnostics.Lines());
    for (const std::string& line : diagnostics.Lines()) {
        EXPECT_EQ(line.find('\x1b'), std::string::npos) << "raw control bytes reach the terminal";
        EXPECT_EQ(line.find("root:"), std::string::npos) << "a file outside the data was read";
    }
    EXPECT_TRUE(broken.safe());
}

INSTANTIATE_TEST_SUITE_P(Table, BrokenFileTest, ::testing::ValuesIn(kBroken),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
