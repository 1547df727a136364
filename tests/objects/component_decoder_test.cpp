// CreateFromTokens: the decode order, its quirks, and the refusal of every malformed entry.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "meta/tokenizer.h"
#include "objects/component_factory.h"
#include "objects/graveyard.h"
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

// A class name alone gives the defaults. Text loses its quotes and backslashes and needs a
// backslash to hold a space (without one the member gets the first word); entry order does not
// matter and a name written twice takes its first value; whole numbers follow the standard
// conversion (two spaces make a token with a leading space, which it skips); a real written without
// a point is still a real.
TEST_F(CreateFromTokensTest, AcceptedLinesDecodeAsWritten) {
    const struct {
        const char* line;
        std::function<bool(const TestSign&)> holds;
    } cases[] = {
        {"TestSign ",
         [](auto& s) {
             return s.caption == "none" && s.count == 7 && s.offset == Vector2D{1, 2};
         }},
        {"TestSign caption \"two words\" ", [](auto& s) { return s.caption == "two"; }},
        {"TestSign caption \"\" ", [](auto& s) { return s.caption.empty(); }},
        {"TestSign lit true count 1 speed 2.0 count 2 ",
         [](auto& s) { return s.count == 1 && s.lit && s.speed == 2.0f; }},
        {"TestSign count -12 ", [](auto& s) { return s.count == -12; }},
        {"TestSign count 12abc ", [](auto& s) { return s.count == 12; }},
        {"TestSign count  9 ", [](auto& s) { return s.count == 9; }},
        {"TestSign speed 5 ", [](auto& s) { return s.speed == 5.0f; }},
        {"TestSign speed 2e3 ", [](auto& s) { return s.speed == 2000.0f; }},
        {"TestSign speed 5.000000000 ", [](auto& s) { return s.speed == 5.0f; }},
    };
    for (const auto& c : cases) {
        const TestSign* sign = Build<TestSign>(c.line);
        ASSERT_NE(sign, nullptr) << c.line << ": " << problem;
        EXPECT_TRUE(c.holds(*sign)) << c.line;
    }
    const auto* prototype = dynamic_cast<const TestSign*>(ComponentFactory::Find("TestSign"));
    EXPECT_TRUE(cases[0].holds(*prototype)) << "the prototype is untouched";
}

// Every other kind mismatch is refused, in plain words where the line has a reason to give, and
// the refused component waits in the graveyard. A
// member with no text form is never written to; a text not quoted reads as a whole number; a line
// ending in a space gives the last name an empty value, which is no number.
TEST_F(CreateFromTokensTest, MalformedEntriesAreRefusedWithTheReason) {
    const std::pair<const char*, const char*> cases[] = {
        {"TestSign count true ", ""},
        {"TestSign count \"3\" ", ""},
        {"TestSign lit 1 ", ""},
        {"TestSign offset \"1.0\" 2.0 ", ""},
        {"TestSign caption true ", ""},
        {"TestSign count ", ""},
        {"TestSign cache 1.0 ", "no text form"},
        {"TestSign caption plain ", "not a whole number"},
        {"TestSign speed .x ", "not a number"},
        {"TestSign offset 1.0 nope ", "not a number"},
        {"TestSign speed inf.0 ", "not a finite number"},
        {"TestSign speed 1.0e99 ", "too large (or too small) for a real number"},
        {"TestSign offset 1.0", "two numbers"},
    };
    const std::size_t buried = Graveyard::ComponentCount();
    for (const auto& [line, reason] : cases) {
        EXPECT_EQ(Build<TestSign>(line), nullptr) << line;
        EXPECT_NE(problem.find(reason), std::string::npos) << line << ": " << problem;
    }
    EXPECT_EQ(Graveyard::ComponentCount(), buried + std::size(cases)) << "refused ones wait there";
    const std::vector<std::string> tokens{"TestSign", "count"};
    std::vector<std::string> problems;
    EXPECT_EQ(ComponentFactory::Find("TestSign")->CreateFromTokens(tokens, &problems), nullptr);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("no value"), std::string::npos);
}

}  // namespace
