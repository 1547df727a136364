// CreateFromTokens: the decode order, its quirks, and the refusal of every malformed entry.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "meta/tokenizer.h"
#include "objects/component_factory.h"
#include "objects/graveyard.h"
#include "physics/rigid_body2d.h"
#include "support/engine_test.h"
#include "support/test_components.h"

namespace {

class CreateFromTokensTest : public testing_support::EngineTest {
protected:
    void TearDown() override {
        for (Component* c : built_) {
            delete c;
        }
    }

    // Builds from one data-file line; null when refused, with the reason in `problem`.
    template <class T>
    T* Build(const std::string& line) {
        const auto tokens = Tokenize(line, LastToken::KeepEmpty);
        problems_.clear();
        Component* c = ComponentFactory::Find(tokens.front())->CreateFromTokens(tokens, &problems_);
        if (c) {
            built_.push_back(c);
        }
        problem = problems_.empty() ? std::string() : problems_.front();
        EXPECT_LE(problems_.size(), 1u);
        return dynamic_cast<T*>(c);
    }

    std::string problem;

private:
    std::vector<std::string> problems_;
    std::vector<Component*> built_;
};

TEST_F(CreateFromTokensTest, AClassNameAloneGivesDefaultsAndThePrototypeIsUntouched) {
    auto* sign = Build<TestSign>("TestSign ");
    ASSERT_NE(sign, nullptr);
    EXPECT_EQ(sign->caption, "none");
    EXPECT_EQ(sign->count, 7);
    EXPECT_EQ(sign->offset, (Vector2D{1.0f, 2.0f}));

    Build<TestSign>("TestSign caption \"changed\" count 3 ");
    const auto* prototype = dynamic_cast<const TestSign*>(ComponentFactory::Find("TestSign"));
    EXPECT_EQ(prototype->caption, "none");
    EXPECT_EQ(prototype->count, 7);
}

TEST_F(CreateFromTokensTest, TheWorkedExampleRigidBodyLineDecodesEveryKind) {
    auto* body = Build<RigidBody2D>(
        "RigidBody2D mass 1.000000000 velocity 0.000000000 -2.500000000 state 0 active true "
        "bounciness 0.000000000 friction 100 gravity 600.000000000 ");
    ASSERT_NE(body, nullptr) << problem;
    EXPECT_EQ(body->mass, 1.0f);
    EXPECT_EQ(body->velocity, (Vector2D{0.0f, -2.5f}));
    EXPECT_EQ(body->state, 0);
    EXPECT_TRUE(body->active);
    EXPECT_EQ(body->friction, 100);
    EXPECT_EQ(body->gravity, 600.0f);
}

TEST_F(CreateFromTokensTest, TextLosesQuotesAndBackslashesAndNeedsABackslashToHoldASpace) {
    EXPECT_EQ(Build<TestSign>("TestSign caption \"two\\ words\" ")->caption, "two words");
    // Without the backslash the text splits: the member gets the first word, the rest is ignored.
    EXPECT_EQ(Build<TestSign>("TestSign caption \"two words\" ")->caption, "two");
    EXPECT_EQ(Build<TestSign>("TestSign caption \"\" ")->caption, "");
}

TEST_F(CreateFromTokensTest, EntryOrderDoesNotMatterAndANameWrittenTwiceTakesTheFirstValue) {
    auto* sign = Build<TestSign>("TestSign lit true count 1 speed 2.0 count 2 ");
    ASSERT_NE(sign, nullptr);
    EXPECT_EQ(sign->count, 1);
    EXPECT_TRUE(sign->lit);
    EXPECT_EQ(sign->speed, 2.0f);
}

TEST_F(CreateFromTokensTest, WholeNumbersFollowTheStandardConversion) {
    EXPECT_EQ(Build<TestSign>("TestSign count -12 ")->count, -12);
    EXPECT_EQ(Build<TestSign>("TestSign count 12abc ")->count, 12);
    // Two spaces make a token with a leading space, which the conversion skips.
    EXPECT_EQ(Build<TestSign>("TestSign count  9 ")->count, 9);
}

TEST_F(CreateFromTokensTest, ARealWrittenWithoutAPointIsStillAReal) {
    EXPECT_EQ(Build<TestSign>("TestSign speed 5 ")->speed, 5.0f);
    EXPECT_EQ(Build<TestSign>("TestSign speed 2e3 ")->speed, 2000.0f);
    EXPECT_EQ(Build<TestSign>("TestSign speed 5.000000000 ")->speed, 5.0f);
}

TEST_F(CreateFromTokensTest, EveryOtherKindMismatchIsRefused) {
    EXPECT_EQ(Build<TestSign>("TestSign count 3.5 "), nullptr);
    EXPECT_EQ(Build<TestSign>("TestSign count true "), nullptr);
    EXPECT_EQ(Build<TestSign>("TestSign count \"3\" "), nullptr);
    EXPECT_EQ(Build<TestSign>("TestSign lit 1 "), nullptr);
    EXPECT_EQ(Build<TestSign>("TestSign offset \"1.0\" 2.0 "), nullptr);
    EXPECT_EQ(Build<TestSign>("TestSign caption true "), nullptr);
    // A member with no text form is never written to.
    EXPECT_EQ(Build<TestSign>("TestSign cache 1.0 "), nullptr);
    EXPECT_NE(problem.find("no text form"), std::string::npos) << problem;
}

TEST_F(CreateFromTokensTest, ConversionErrorsSayWhatIsWrongInPlainWords) {
    Build<TestSign>("TestSign count abc ");
    EXPECT_NE(problem.find("not a whole number"), std::string::npos) << problem;
    Build<TestSign>("TestSign count 99999999999 ");
    EXPECT_NE(problem.find("outside the whole numbers"), std::string::npos) << problem;
    Build<TestSign>("TestSign speed .x ");
    EXPECT_NE(problem.find("not a number"), std::string::npos) << problem;
    Build<TestSign>("TestSign speed 1.0e99 ");
    EXPECT_NE(problem.find("too large (or too small) for a real number"), std::string::npos)
        << problem;
    Build<TestSign>("TestSign offset 1.0 nope ");
    EXPECT_NE(problem.find("not a number"), std::string::npos) << problem;
    Build<TestSign>("TestSign speed inf.0 ");
    EXPECT_NE(problem.find("not a finite number"), std::string::npos) << problem;
    Build<TestSign>("TestSign speed 1e39 ");
    EXPECT_NE(problem.find("too large (or too small) for a real number"), std::string::npos)
        << "a real written without a point is still a real: " << problem;
    // A text that is not quoted reads as a whole number.
    Build<TestSign>("TestSign caption plain ");
    EXPECT_NE(problem.find("not a whole number"), std::string::npos) << problem;
}

TEST_F(CreateFromTokensTest, AMemberNameWithNoValueAfterItIsRefused) {
    const std::vector<std::string> tokens{"TestSign", "count"};
    std::vector<std::string> problems;
    EXPECT_EQ(ComponentFactory::Find("TestSign")->CreateFromTokens(tokens, &problems), nullptr);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("no value"), std::string::npos);
    EXPECT_EQ(Build<TestSign>("TestSign offset 1.0"), nullptr);
    EXPECT_NE(problem.find("two numbers"), std::string::npos) << problem;
    // A line ending in a space gives the name an empty value, which is no number.
    EXPECT_EQ(Build<TestSign>("TestSign count "), nullptr);
}

TEST_F(CreateFromTokensTest, ARefusedComponentWaitsInTheGraveyard) {
    const std::size_t before = Graveyard::ComponentCount();
    EXPECT_EQ(Build<TestSign>("TestSign count x "), nullptr);
    EXPECT_EQ(Graveyard::ComponentCount(), before + 1);
}

}  // namespace
