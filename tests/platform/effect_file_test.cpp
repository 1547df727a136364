#include "platform/effect_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(EffectFile, SplitsSharedCodeAndTechniques) {
    const platform::EffectFile file = platform::ParseEffect(
        "// shared\nconst float k = 1.0;\n@technique Tint\nvec4 Shade() { return vec4(k); }\n"
        "@technique   Light  \nvec4 Shade() { return vec4(0.0); }\n");
    EXPECT_TRUE(file.found);
    EXPECT_EQ(file.shared, "// shared\nconst float k = 1.0;\n");
    ASSERT_EQ(file.techniques.size(), 2u);
    EXPECT_EQ(file.techniques[0].name, "Tint");
    EXPECT_EQ(file.techniques[0].source, "vec4 Shade() { return vec4(k); }\n");
    EXPECT_EQ(file.techniques[0].firstLine, 4);
    EXPECT_EQ(file.techniques[1].name, "Light");
    EXPECT_EQ(file.techniques[1].firstLine, 6);
}

TEST(EffectFile, MissingFileHasNoTechniques) {
    const platform::EffectFile file = platform::ReadEffectFile("no/such/effect.fx");
    EXPECT_FALSE(file.found);
    EXPECT_TRUE(file.techniques.empty());
}

TEST(EffectFile, GameEffectOffersTintAndLightWithTheirParameters) {
    const platform::EffectFile file =
        platform::ReadEffectFile(std::string(VORL_SOURCE_DIR) + "/assets/PixelShader.fx");
    ASSERT_TRUE(file.found);
    ASSERT_EQ(file.techniques.size(), 2u);
    const platform::EffectTechnique& tint = file.techniques[0];
    EXPECT_EQ(tint.name, "Tint");
    for (const char* parameter : {"tintr", "tintg", "tintb", "tinta"}) {
        EXPECT_NE(tint.source.find(std::string("uniform float ") + parameter + ";"),
                  std::string::npos)
            << parameter;
    }
    const platform::EffectTechnique& light = file.techniques[1];
    EXPECT_EQ(light.name, "Light");
    for (const char* parameter : {"r", "g", "b", "AmbientIntensity", "radius", "locx", "locy"}) {
        EXPECT_NE(light.source.find(std::string("uniform float ") + parameter + ";"),
                  std::string::npos)
            << parameter;
    }
}

}  // namespace
