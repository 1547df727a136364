// Bad data the platform finds (a shader that does not compile, an icon that does not decode)
// goes out the way the engine's data readers report theirs: one line "<file>:<line>: <problem>",
// the line left out when it is 0 (a problem of the whole file, or a built-in source). By default
// the line goes to standard error; the engine's own diagnostic channel takes the lines over with
// SetDiagnosticSink, so that every report is counted and collected in one place.
#pragma once

#include <functional>
#include <string_view>

namespace platform {

using DiagnosticSink =
    std::function<void(std::string_view file, int line, std::string_view problem)>;

void ReportBadData(std::string_view file, int line, std::string_view problem);

// Replaces the sink; an empty one restores standard error. Returns the previous sink.
DiagnosticSink SetDiagnosticSink(DiagnosticSink sink);

}  // namespace platform
