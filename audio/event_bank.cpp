#include "audio/event_bank.h"

#include <charconv>
#include <cmath>
#include <set>
#include <sstream>

#include "meta/data_diagnostics.h"

namespace {

bool ReadFloat(const std::string& token, float& out) {
    const char* end = token.data() + token.size();
    auto [ptr, error] = std::from_chars(token.data(), end, out);
    return error == std::errc() && ptr == end && std::isfinite(out);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) {
        parts.push_back(part);
    }
    return parts;
}

// One "value=gain/gain/..." or "start=" / "fade=" setting into `parameter`; false with `why` set
// when malformed.
bool ReadSetting(const std::string& token, std::size_t layers, EventParameter& parameter,
                 std::string& why) {
    const std::size_t equals = token.find('=');
    if (equals == std::string::npos) {
        why = "parameter setting \"" + token + "\" has no '='";
        return false;
    }
    const std::string key = token.substr(0, equals);
    const std::string value = token.substr(equals + 1);
    float number = 0.0f;
    if (key == "start" || key == "fade") {
        if (!ReadFloat(value, number) || number < 0.0f) {
            why = "\"" + token + "\" needs a number of at least 0";
            return false;
        }
        (key == "start" ? parameter.start : parameter.fadeSeconds) = number;
        return true;
    }
    ParameterState state;
    if (!ReadFloat(key, state.value)) {
        why = "\"" + key + "\" is not a parameter value";
        return false;
    }
    std::string gains = value;
    if (const std::size_t at = value.find('@'); at != std::string::npos) {
        gains = value.substr(0, at);
        float seconds = 0.0f;
        if (!ReadFloat(value.substr(at + 1), seconds) || seconds < 0.0f) {
            why = "\"" + token + "\" has a section that is not a number of seconds";
            return false;
        }
        state.sectionSeconds = seconds;
    }
    for (const std::string& gain : Split(gains, '/')) {
        float g = 0.0f;
        if (!ReadFloat(gain, g) || g < 0.0f || g > 1.0f) {
            why = "\"" + token + "\" has a gain that is not a number in 0..1";
            return false;
        }
        state.layerGains.push_back(g);
    }
    if (state.layerGains.size() != layers) {
        why = "\"" + token + "\" gives " + std::to_string(state.layerGains.size()) + " gains for " +
              std::to_string(layers) + " sound files";
        return false;
    }
    parameter.states.push_back(std::move(state));
    return true;
}

// One event option ("fade=", "space=", "bar=") into `event`; false with `why` set when malformed.
bool ReadOption(const std::string& token, EventDescription& event, std::string& why) {
    const std::size_t equals = token.find('=');
    const std::string key = token.substr(0, equals);
    const std::string value = token.substr(equals + 1);
    if (key == "space") {
        if (value != "world" && value != "screen") {
            why = "\"" + token + "\": the space is \"world\" or \"screen\"";
            return false;
        }
        event.world = value == "world";
        return true;
    }
    float number = 0.0f;
    if (key != "fade" && key != "bar") {
        why = "unknown option \"" + token + "\"";
        return false;
    }
    if (!ReadFloat(value, number) || number < 0.0f) {
        why = "\"" + token + "\" needs a number of at least 0";
        return false;
    }
    (key == "fade" ? event.fadeSeconds : event.barSeconds) = number;
    return true;
}

bool IsParameterName(const std::string& token) {
    return token.back() == ':';
}

bool ReadEvent(const std::vector<std::string>& tokens, EventDescription& event, std::string& why) {
    if (tokens.size() < 4) {
        why = "an event needs a path, a mode, a volume and at least one sound file";
        return false;
    }
    event.path = tokens[0];
    if (tokens[1] != "oneshot" && tokens[1] != "loop") {
        why = "mode \"" + tokens[1] + "\" is neither \"oneshot\" nor \"loop\"";
        return false;
    }
    event.oneShot = tokens[1] == "oneshot";
    if (!ReadFloat(tokens[2], event.volume) || event.volume < 0.0f || event.volume > 1.0f) {
        why = "volume \"" + tokens[2] + "\" is not a number in 0..1";
        return false;
    }
    std::size_t i = 3;
    for (; i < tokens.size() && !IsParameterName(tokens[i]) &&
           tokens[i].find('=') == std::string::npos;
         ++i) {
        event.files.push_back(tokens[i]);
    }
    if (event.files.empty()) {
        why = "the event names no sound file";
        return false;
    }
    for (; i < tokens.size() && !IsParameterName(tokens[i]); ++i) {
        if (!ReadOption(tokens[i], event, why)) {
            return false;
        }
    }
    for (; i < tokens.size(); ++i) {
        if (IsParameterName(tokens[i])) {
            EventParameter parameter;
            parameter.name = tokens[i].substr(0, tokens[i].size() - 1);
            event.parameters.push_back(std::move(parameter));
        } else if (!ReadSetting(tokens[i], event.files.size(), event.parameters.back(), why)) {
            return false;
        }
    }
    for (const EventParameter& parameter : event.parameters) {
        if (parameter.name.empty() || parameter.states.empty()) {
            why = "parameter \"" + parameter.name + "\" has no states";
            return false;
        }
    }
    return true;
}

}  // namespace

std::size_t EventParameter::IndexNearest(float value) const {
    std::size_t nearest = 0;
    for (std::size_t i = 1; i < states.size(); ++i) {
        if (std::fabs(states[i].value - value) < std::fabs(states[nearest].value - value)) {
            nearest = i;
        }
    }
    return nearest;
}

const ParameterState& EventParameter::StateNearest(float value) const {
    return states[IndexNearest(value)];
}

const EventParameter* EventDescription::FindParameter(const std::string& name) const {
    for (const EventParameter& parameter : parameters) {
        if (parameter.name == name) {
            return &parameter;
        }
    }
    return nullptr;
}

std::vector<EventDescription> ParseEventBank(const std::string& text, const std::string& fileName) {
    std::vector<EventDescription> events;
    std::set<std::string> paths;
    std::istringstream in(text);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (const std::size_t hash = line.find('#'); hash != std::string::npos) {
            line.erase(hash);
        }
        std::istringstream words(line);
        std::vector<std::string> tokens;
        for (std::string token; words >> token;) {
            tokens.push_back(token);
        }
        if (tokens.empty()) {
            continue;
        }
        EventDescription event;
        std::string why;
        if (!ReadEvent(tokens, event, why)) {
            DataDiagnostics::Report(fileName, number, why);
        } else if (!paths.insert(event.path).second) {
            DataDiagnostics::Report(fileName, number,
                                    "event \"" + event.path + "\" is already in the bank");
        } else {
            events.push_back(std::move(event));
        }
    }
    return events;
}
