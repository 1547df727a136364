// Property: a randomly generated level, written, read and written again, gives the same file
// twice and the same objects from both reads.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "levels/data_reader.h"
#include "levels/data_writer.h"
#include "meta/data_diagnostics.h"
#include "meta/meta_value.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "objects/object_system.h"
#include "physics/rigid_body2d.h"
#include "support/headless_engine.h"
#include "support/test_components.h"

namespace {

float RandomReal(std::mt19937& rng) {
    switch (rng() % 4) {
        case 0:  // exactly representable in nine decimals
            return static_cast<float>(static_cast<int>(rng() % 20001) - 10000) / 8.0f;
        case 1:  // anything of moderate size
            return std::uniform_real_distribution<float>(-5000.0f, 5000.0f)(rng);
        case 2:  // small magnitudes, where nine decimals round
            return std::uniform_real_distribution<float>(-0.001f, 0.001f)(rng);
        default:
            return 0.0f;
    }
}

std::string RandomText(std::mt19937& rng) {
    // Letters and spaces (leading, doubled and trailing ones too), which the writer escapes.
    const std::string letters = "abcXYZ09_";
    std::string text;
    const int length = static_cast<int>(rng() % 8);
    for (int i = 0; i < length; ++i) {
        text += rng() % 5 == 0 ? ' ' : letters[rng() % letters.size()];
    }
    return text;
}

void MakeRandomLevel(std::mt19937& rng) {
    const int count = 1 + static_cast<int>(rng() % 12);
    for (int i = 0; i < count; ++i) {
        auto* object = new Object;
        // A name line may hold spaces but must not be empty or begin with "{".
        object->SetName("Obj " + std::to_string(i) + RandomText(rng));
        Transform2D& t = object->GetTransform();
        t.SetPosition({RandomReal(rng), RandomReal(rng)});
        t.SetZLayer(RandomReal(rng));
        t.SetScale({RandomReal(rng), RandomReal(rng)});
        t.SetRotationDegrees(static_cast<int>(rng() % 1441) - 720);
        if (rng() % 2) {
            auto* body = new RigidBody2D;
            body->state = static_cast<int>(rng() % 2);
            body->mass = body->state ? 1.0f + static_cast<float>(rng() % 100) : RandomReal(rng);
            // A clean level: a livelier friction than the reader questions.
            body->friction = RigidBody2D::kLivelyFriction + static_cast<int>(rng() % 1000);
            body->velocity = {RandomReal(rng), RandomReal(rng)};
            body->active = rng() % 2;
            body->bounciness = RandomReal(rng);
            body->gravity = RandomReal(rng);
            object->AddComponent("RigidBody2D", body);
        }
        if (rng() % 2) {
            auto* sign = new TestSign;
            sign->caption = RandomText(rng);
            sign->speed = RandomReal(rng);
            sign->count = static_cast<int>(rng());
            sign->lit = rng() % 2;
            sign->offset = {RandomReal(rng), RandomReal(rng)};
            object->AddComponent("TestSign", sign);
        }
        LevelObjects().push_back(object);
    }
}

std::string WriteCurrentLevel() {
    std::ostringstream out;
    WriteLevel(out, LevelObjects());
    return out.str();
}

// Every object with every member, through the meta dump.
std::string DumpCurrentLevel() {
    std::ostringstream out;
    for (Object* object : LevelObjects()) {
        Dump(out, MetaValue(MetaTypeOf<Object>(), object, object->GetName()));
        out << "visible " << object->IsVisible() << '\n';
    }
    return out.str();
}

std::string ReadAndRewrite(const std::string& text, std::string& dump) {
    DestroyAllLevelObjects();
    std::istringstream in(text);
    ReadLevelObjects(in, "generated");
    dump = DumpCurrentLevel();
    return WriteCurrentLevel();
}

TEST(LevelRoundTrip, WrittenReadAndWrittenAgainGivesTheSameFileAndObjects) {
    testing_support::ResetEngineState();
    std::size_t diagnosticsBefore = DataDiagnostics::Count();
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::mt19937 rng(seed);
        MakeRandomLevel(rng);
        const std::string first = WriteCurrentLevel();
        std::string firstDump;
        std::string secondDump;
        const std::string second = ReadAndRewrite(first, firstDump);
        const std::string third = ReadAndRewrite(second, secondDump);
        ASSERT_EQ(first, second) << "seed " << seed;
        ASSERT_EQ(second, third) << "seed " << seed;
        ASSERT_EQ(firstDump, secondDump) << "seed " << seed;
        testing_support::ResetEngineState();
    }
    EXPECT_EQ(DataDiagnostics::Count(), diagnosticsBefore);
}

}  // namespace
