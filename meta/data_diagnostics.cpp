#include "meta/data_diagnostics.h"

#include <iostream>
#include <utility>

namespace DataDiagnostics {
namespace {
struct State {
    Sink sink;
    std::size_t count = 0;
};
State& S() {
    static State state;
    return state;
}
}  // namespace

void Report(std::string_view file, int line, std::string_view problem) {
    std::string text(file);
    if (line > 0) {
        text += ':';
        text += std::to_string(line);
    }
    text += ": ";
    text += problem;
    ++S().count;
    if (S().sink) {
        S().sink(text);
    } else {
        std::cerr << text << '\n';
    }
}

Sink SetSink(Sink sink) {
    return std::exchange(S().sink, std::move(sink));
}

Collector::Collector() {
    previous_ = SetSink([this](const std::string& line) {
        lines_.push_back(line);
        if (previous_) {
            previous_(line);
        } else {
            std::cerr << line << std::endl;
        }
    });
}

Collector::~Collector() {
    SetSink(std::move(previous_));
}

std::size_t Count() {
    return S().count;
}
void ResetCount() {
    S().count = 0;
}

}  // namespace DataDiagnostics
