// The texture and animation lists read from real files in a temporary assets folder.
#include "graphics/texture_lists.h"

#include <gtest/gtest.h>

#include <tuple>

#include "graphics/texture.h"
#include "support/asset_folder.h"
#include "support/engine_test.h"

namespace {

class TextureListsTest : public testing_support::EngineTest {
protected:
    testing_support::TempAssets assets;
    testing_support::CapturedDiagnostics diagnostics;
};

// Each list keeps the first of each name; extra tokens on a texture line are ignored.
TEST_F(TextureListsTest, TheListsKeepTheFirstOfANameAndAnAnimationFillsMissingNumbers) {
    assets.Write("TextureList", "rda_sheet 1 2 3\n\nrdr_goal\nrda_sheet\n  \n");
    assets.Write("AnimationList",
                 "rda_walk rda_sheet 12 3 0.1\n"
                 "rda_idle rda_sheet\n"
                 "rda_walk rda_sheet 0 1 1.0\n"
                 "rda_lonely\n"
                 "rda_bad rda_sheet x\n"
                 "rda_neg rda_sheet -1\n"
                 "rda_nosheet rda_unknown 4\n");
    LoadTextureList("TextureList");
    LoadAnimationList("AnimationList");
    ASSERT_NE(TextureTable().Get("rda_sheet"), nullptr);
    EXPECT_EQ(TextureTable().Get("rda_sheet")->name, "rda_sheet");
    EXPECT_NE(TextureTable().Get("rdr_goal"), nullptr);
    // A line of two spaces is one token holding a space (the second space starts it).
    EXPECT_NE(TextureTable().Get(" "), nullptr);
    EXPECT_TRUE(diagnostics.Contains("TextureList:4: texture \"rda_sheet\" is listed twice"));
    // An animation as (sheet, start frame, frame count, frame duration); zeros when missing.
    const auto entry = [](const char* name) {
        const Animation* a = AnimationTable().Get(name);
        return a ? std::tuple(a->texture, a->startFrame, a->frameCount, a->frameDuration)
                 : std::tuple<Texture*, unsigned, unsigned, float>{};
    };
    Texture* sheet = TextureTable().Get("rda_sheet");
    EXPECT_EQ(entry("rda_walk"), std::tuple(sheet, 12u, 3u, 0.1f));
    EXPECT_EQ(entry("rda_idle"), std::tuple(sheet, 1u, 1u, 1.0f));
    EXPECT_EQ(entry("rda_nosheet"), std::tuple(nullptr, 4u, 1u, 1.0f));
    // Looking the sheet up did not file an empty one under that name.
    EXPECT_FALSE(TextureTable().Contains("rda_unknown"));
    EXPECT_FALSE(AnimationTable().Contains("rda_bad"));
    EXPECT_FALSE(AnimationTable().Contains("rda_neg"));
    EXPECT_FALSE(AnimationTable().Contains("rda_lonely"));
    EXPECT_EQ(diagnostics.Lines().size(), 6u);
    EXPECT_TRUE(diagnostics.Contains("AnimationList:3: animation \"rda_walk\" is listed twice"));
    EXPECT_TRUE(diagnostics.Contains("AnimationList:4: "));
    EXPECT_TRUE(diagnostics.Contains("AnimationList:5: start frame: not a whole number"));
    EXPECT_TRUE(diagnostics.Contains("AnimationList:6: "));
    EXPECT_TRUE(diagnostics.Contains(
        "AnimationList:7: texture \"rda_unknown\" is not in the texture list"));
}

}  // namespace
