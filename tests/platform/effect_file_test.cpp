#include "platform/effect_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(EffectFile, TheGameEffectOffersTintAndLightWithTheirParametersAndAMissingFileNothing) {
    const platform::EffectFile file =
        platform::ReadEffectFile(std::string(VORL_SOURCE_DIR) + "/assets/PixelShader.fx");
    ASSERT_TRUE(file.found);
    ASSERT_EQ(file.techniques.size(), 2u);
    const std::vector<std::string> parameters[] = {
        {"tintr", "tintg", "tintb", "tinta"},
        {"r", "g", "b", "AmbientIntensity", "radius", "locx", "locy"}};
    for (std::size_t i = 0; i < 2; ++i) {
        const platform::EffectTechnique& technique = file.techniques[i];
        EXPECT_EQ(technique.name, i == 0 ? "Tint" : "Light");
        for (const std::string& parameter : parameters[i]) {
            EXPECT_NE(technique.source.find("uniform float " + parameter + ";"), std::string::npos)
                << technique.name << " " << parameter;
        }
    }
    const platform::EffectFile missing = platform::ReadEffectFile("no/such/effect.fx");
    EXPECT_FALSE(missing.found);
    EXPECT_TRUE(missing.techniques.empty());
}

}  // namespace
