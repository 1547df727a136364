#include "meta/tokenizer.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/asset_folder.h"

namespace {

using Tokens = std::vector<std::string>;
using testing_support::CapturedDiagnostics;

TEST(Tokenize, SpacesSeparateWordsAndABackslashKeepsTheSpaceAndItself) {
    EXPECT_EQ(Tokenize("FanComponent speed 5.0", LastToken::KeepEmpty),
              (Tokens{"FanComponent", "speed", "5.0"}));
    EXPECT_EQ(Tokenize("caption \"two\\ words\"", LastToken::KeepEmpty),
              (Tokens{"caption", "\"two\\ words\""}));
}

TEST(Tokenize, ALeadingSpaceOrASecondSpaceStartsTheNextToken) {
    EXPECT_EQ(Tokenize(" a", LastToken::KeepEmpty), (Tokens{" a"}));
    EXPECT_EQ(Tokenize("a  b", LastToken::KeepEmpty), (Tokens{"a", " b"}));
    // The third space ends the one-space token the second began.
    EXPECT_EQ(Tokenize("a   b", LastToken::KeepEmpty), (Tokens{"a", " ", "b"}));
}

TEST(Tokenize, TheLastTokenIsKeptEmptyOnlyForArchetypeAndLevelLines) {
    EXPECT_EQ(Tokenize("a b ", LastToken::KeepEmpty), (Tokens{"a", "b", ""}));
    EXPECT_EQ(Tokenize("a b ", LastToken::DropEmpty), (Tokens{"a", "b"}));
    EXPECT_EQ(Tokenize("", LastToken::KeepEmpty), (Tokens{""}));
    EXPECT_TRUE(Tokenize("", LastToken::DropEmpty).empty());
    // A trailing backslash-space is part of the last token, which is therefore not empty.
    EXPECT_EQ(Tokenize("a\\ ", LastToken::DropEmpty), (Tokens{"a\\ "}));
}

std::vector<std::string> ReadAll(const std::string& text, const std::string& file = "f") {
    std::istringstream in(text);
    LineReader lines(in, file);
    std::vector<std::string> result;
    std::string line;
    while (lines.Next(line)) {
        result.push_back(line);
    }
    return result;
}

TEST(LineReader, DropsTheCarriageReturnBeforeALineEndAndReadsAnUnterminatedLastLine) {
    EXPECT_EQ(ReadAll("one\r\ntwo\r\nthree"), (Tokens{"one", "two", "three"}));
    EXPECT_EQ(ReadAll("a\rb\n\n"), (Tokens{"a\rb", ""}));
}

TEST(LineReader, ALineOf1024CharactersEndsTheFileWithOneDiagnostic) {
    CapturedDiagnostics diagnostics;
    const std::string longest(1023, 'x');
    EXPECT_EQ(ReadAll(longest + "\nnext\n"), (Tokens{longest, "next"}));
    EXPECT_TRUE(diagnostics.Lines().empty());

    EXPECT_EQ(ReadAll("first\n" + std::string(1024, 'y') + "\nlost\n", "assets/L"),
              (Tokens{"first"}));
    ASSERT_EQ(diagnostics.Lines().size(), 1u);
    EXPECT_EQ(diagnostics.Lines()[0].rfind("assets/L:2: ", 0), 0u) << diagnostics.Lines()[0];
    // The limit counts the line without its carriage return.
    diagnostics.Clear();
    EXPECT_EQ(ReadAll(longest + "\r\n").size(), 1u);
    EXPECT_TRUE(diagnostics.Lines().empty());
}

}  // namespace
