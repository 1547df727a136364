// The line and token rules shared by every data-file reader.
//
// Lines: a carriage return before the line end is not part of the line. A line of 1024
// characters or more ends the reading of its file (it and every later line are ignored; the
// LineReader reports it once).
//
// Tokens: a space ends the current token when the token already holds a character and the
// character before the space is not a backslash; every other character (including a space that
// does not end a token) joins the current token. So "a\ b" is one token (backslash kept), and a
// leading space, or the second of two spaces, starts the next token.
#pragma once

#include <istream>
#include <string>
#include <string_view>
#include <vector>

// What to do with the token being built when the line ends. The archetype and level readers keep
// it even when empty (a line ending in a space has an empty last token, an empty line is one
// empty token); the texture and animation list readers drop an empty one.
enum class LastToken { KeepEmpty, DropEmpty };

std::vector<std::string> Tokenize(std::string_view line, LastToken last);

inline constexpr std::size_t kMaxLineLength = 1023;

// Reads the lines of one data file; `file` names it in diagnostics.
class LineReader {
public:
    LineReader(std::istream& in, std::string file) : in_(in), file_(std::move(file)) {}

    // The next line, or false at the end of the file or at an over-long line.
    bool Next(std::string& line);
    // 1-based number of the line last returned.
    int LineNumber() const { return lineNumber_; }
    const std::string& File() const { return file_; }
    // Whether the line after the one last returned begins with `c`.
    bool NextStartsWith(char c) const {
        return !stopped_ && in_.peek() == std::char_traits<char>::to_int_type(c);
    }
    // Reports a problem of the line last returned.
    void Report(std::string_view problem) const;

private:
    std::istream& in_;
    std::string file_;
    int lineNumber_ = 0;
    bool stopped_ = false;
};
