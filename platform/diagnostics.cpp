#include "platform/diagnostics.h"

#include <iostream>
#include <string>
#include <utility>

namespace platform {
namespace {

DiagnosticSink& Sink() {
    static DiagnosticSink sink;
    return sink;
}

}  // namespace

void ReportBadData(std::string_view file, int line, std::string_view problem) {
    if (Sink()) {
        Sink()(file, line, problem);
        return;
    }
    std::string text(file);
    if (line > 0) {
        text += ':' + std::to_string(line);
    }
    std::cerr << text << ": " << problem << '\n';
}

DiagnosticSink SetDiagnosticSink(DiagnosticSink sink) {
    return std::exchange(Sink(), std::move(sink));
}

}  // namespace platform
