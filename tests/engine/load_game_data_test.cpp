// Start-up as the game runs it: one warm-up frame on empty data, then the texture list, the
// animation list and the archetypes, in that order.
#include <gtest/gtest.h>

#include "core/messaging.h"
#include "engine/core.h"
#include "graphics/texture.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "support/asset_folder.h"
#include "support/headless_engine.h"

namespace {

TEST(LoadGameData, RunsTheWarmUpFrameThenLoadsTexturesAnimationsAndArchetypes) {
    testing_support::TempAssets assets;
    assets.Write("TextureList", "ldg_sheet\n");
    assets.Write("AnimationList", "ldg_spin ldg_sheet 0 10 0.05\n");
    assets.Write("Objects", "ldg_Thing\n");
    assets.Write("ldg_Thing", "Transform2D\n");
    {
        testing_support::HeadlessEngine engine;
        LoadGameData(engine.core());
        EXPECT_EQ(MessagingSystem::FrameNumber(), 1u);
        // The animation found its sheet, so the texture list was read first.
        const Animation* spin = AnimationTable().Get("ldg_spin");
        ASSERT_NE(spin, nullptr);
        EXPECT_EQ(spin->texture, TextureTable().Get("ldg_sheet"));
        EXPECT_TRUE(ArchetypeTable().Contains("ldg_Thing"));
        engine.RunFrames(1);
        bool loaded = false;
        for (const auto& m : MessagingSystem::GetMessages()) {
            loaded = loaded || m->type == MessageType::ArchetypesLoaded;
        }
        EXPECT_TRUE(loaded);
    }
    delete AnimationTable().Get("ldg_spin");
    AnimationTable().Erase("ldg_spin");
    delete TextureTable().Get("ldg_sheet");
    TextureTable().Erase("ldg_sheet");
}

}  // namespace
