#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "meta/meta_registration.h"
#include "meta/meta_value.h"
#include "objects/component_factory.h"
#include "objects/object.h"
#include "support/engine_test.h"
#include "support/test_components.h"

namespace {

std::vector<std::string> MemberNames(const MetaType& type) {
    std::vector<std::string> names;
    for (const MetaMember& member : type.Members()) {
        names.push_back(member.Name() + ":" + member.Type().Name());
    }
    return names;
}

struct NeverRegistered {
    int value = 0;
};

TEST(MetaRegistry, ATypeNobodyNamedHasAnEmptyRecordThatStaysTheSame) {
    MetaType& first = MetaTypeOf<NeverRegistered>();
    EXPECT_EQ(first.Name(), "");
    EXPECT_EQ(first.Size(), 0u);
    EXPECT_EQ(&first, &MetaTypeOf<NeverRegistered>());
}

// Their names are checked with their forms (value_form_test).
TEST(MetaRegistry, AVectorCarriesItsMembers) {
    EXPECT_EQ(MemberNames(MetaTypeOf<Vector2D>()),
              (std::vector<std::string>{"x:float", "y:float"}));
}

TEST(MetaRegistry, AnUnknownClassHasNoPrototypeAndTheFirstOfANameStays) {
    EXPECT_EQ(ComponentFactory::Find("NoSuchComponent"), nullptr);
    EXPECT_FALSE(ComponentFactory::Add("RigidBody2D", nullptr)) << "the first prototype stays";
}

TEST(MetaValue, AnOwnedCopyIsIndependentOfItsSource) {
    std::string text = "fan";
    {
        std::optional<MetaValue> owned =
            MetaValue::CopyOf(MetaTypeOf<std::string>(), &text, "Event");
        ASSERT_TRUE(owned);
        MetaValue& copy = *owned;
        copy.As<std::string>() = "goal";
        EXPECT_EQ(text, "fan");
        MetaValue moved(std::move(copy));
        EXPECT_EQ(moved.As<std::string>(), "goal");
        EXPECT_EQ(moved.Name(), "Event");
    }
    EXPECT_EQ(text, "fan");
}

using MetaDump = testing_support::EngineTest;

TEST_F(MetaDump, AnObjectDumpsItsMembersThenItsComponents) {
    auto* object = new Object;
    object->SetName("Crate");
    object->AddComponent("EmptyComponent", new EmptyComponent);
    std::ostringstream out;
    Dump(out, MetaValue(MetaTypeOf<Object>(), object, "obj"));
    const std::string text = out.str();
    EXPECT_EQ(text.rfind("Object obj\n{\n  std::string filename Crate\n", 0), 0u) << text;
    EXPECT_NE(text.find("  Transform2D transform\n"), std::string::npos);
    // Unnamed member types are dumped as empty composites, never interpreted.
    EXPECT_NE(text.find("   vertexCount\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  EmptyComponent EmptyComponent\n  {\n  }\n}\n"), std::string::npos)
        << text;
    delete object;
}

}  // namespace
