// DataDiagnostics: the one channel through which the data-file readers and writers report bad
// data. Each report is one line, "<file>:<line>: <problem>", written to standard error; the caller
// then skips the offending line and goes on. Bytes that are not printable ASCII are shown as
// "\xNN", so a binary file cannot garble or steer the terminal. Tests and tools may install their
// own sink (to collect or silence the lines); every report is counted either way.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace DataDiagnostics {

using Sink = std::function<void(const std::string& line)>;

// `line` is 1-based; 0 leaves the line number out (a problem of the whole file).
void Report(std::string_view file, int line, std::string_view problem);

// Replaces the sink; an empty sink restores standard error. Returns the previous sink.
Sink SetSink(Sink sink);

// Keeps the lines reported while it lives, for a caller that must show them (the editor's
// panel), and passes them on to the sink it replaced.
class Collector {
public:
    Collector();
    Collector(const Collector&) = delete;
    Collector& operator=(const Collector&) = delete;
    ~Collector();
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
    Sink previous_;
};

// Reports since the start of the process (or the last ResetCount).
std::size_t Count();
void ResetCount();

}  // namespace DataDiagnostics
