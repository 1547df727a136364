#include "meta/data_diagnostics.h"

#include <iostream>
#include <utility>

#include "platform/diagnostics.h"

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

// What the platform finds wrong (a shader, an icon) joins this channel from the start of the
// process, before any engine object exists: counted, collected and escaped like the rest.
[[maybe_unused]] const bool kPlatformJoined = (platform::SetDiagnosticSink(&Report), true);
}  // namespace

void Report(std::string_view file, int line, std::string_view problem) {
    std::string raw(file);
    if (line > 0) {
        raw += ':';
        raw += std::to_string(line);
    }
    raw += ": ";
    raw += problem;
    // A data file may hold anything: control bytes would work on the terminal they reach.
    std::string text;
    for (const char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7f) {
            constexpr char kHex[] = "0123456789abcdef";
            text += "\\x";
            text += kHex[byte >> 4];
            text += kHex[byte & 0xf];
        } else {
            text += c;
        }
    }
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
