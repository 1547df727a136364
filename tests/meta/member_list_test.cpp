// VORL_MEMBERS against the same members listed by hand: a class moved to the macro must record the
// same members in the same order, and so write and read its data-file lines as before.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "levels/data_reader.h"
#include "objects/component_registration.h"
#include "objects/object.h"
#include "support/scene_builder.h"

namespace {

using testing_support::ComponentLine;

struct GaugeFields {
    float level = 0.5f;
    int notches = 3;
    bool lit = true;
    std::string label = "tank";
    Vector2D needle{1.0f, 2.0f};
    double cache = 0.0;
};

class Gauge : public ComponentOf<Gauge, GameLogicComponent>, public GaugeFields {};
class GaugeByHand : public ComponentOf<GaugeByHand, GameLogicComponent>, public GaugeFields {};

VORL_REGISTER_COMPONENT(Gauge) {
    VORL_MEMBERS(meta, level, notches, lit, label, needle).UnnamedMember("cache", &Gauge::cache);
}

VORL_REGISTER_COMPONENT(GaugeByHand) {
    meta.Member("level", &GaugeByHand::level)
        .Member("notches", &GaugeByHand::notches)
        .Member("lit", &GaugeByHand::lit)
        .Member("label", &GaugeByHand::label)
        .Member("needle", &GaugeByHand::needle)
        .UnnamedMember("cache", &GaugeByHand::cache);
}

// The same names in the same order with the same types: a member recorded differently would
// write a different line, or read its value into the wrong field.
TEST(MemberList, WritesAndReadsBackLikeTheListByHand) {
    const GaugeFields kCases[] = {
        {},
        {-2.25f, 0, false, "two words", {-3.0f, 40.5f}, 1.0},
        {1e6f, -17, true, "", {0.0f, -0.125f}, 2.0},
    };
    for (const GaugeFields& fields : kCases) {
        Gauge gauge;
        GaugeByHand byHand;
        static_cast<GaugeFields&>(gauge) = fields;
        static_cast<GaugeFields&>(byHand) = fields;
        const std::string line = ComponentLine(gauge);
        EXPECT_EQ("GaugeByHand" + line.substr(std::string("Gauge").size()), ComponentLine(byHand));

        Object archetype;
        archetype.SetArchetype(true);
        std::istringstream in(line);
        ReadArchetypeComponents(in, "gauge", archetype);
        const Component* read = archetype.GetComponent("Gauge");
        ASSERT_NE(read, nullptr) << line;
        EXPECT_EQ(ComponentLine(*read), line);
    }
}

}  // namespace
