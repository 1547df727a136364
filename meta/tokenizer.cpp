#include "meta/tokenizer.h"

#include <istream>

#include "meta/data_diagnostics.h"

std::vector<std::string> Tokenize(std::string_view line, LastToken last) {
    std::vector<std::string> tokens;
    std::string current;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ' ' && !current.empty() && line[i - 1] != '\\') {
            tokens.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty() || last == LastToken::KeepEmpty) {
        tokens.push_back(std::move(current));
    }
    return tokens;
}

bool LineReader::Next(std::string& line) {
    if (stopped_ || !std::getline(in_, line)) {
        return false;
    }
    ++lineNumber_;
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    if (line.size() > kMaxLineLength) {
        stopped_ = true;
        Report("line longer than 1023 characters; it and the rest of the file are ignored");
        return false;
    }
    return true;
}

void LineReader::Report(std::string_view problem) const {
    DataDiagnostics::Report(file_, lineNumber_, problem);
}
