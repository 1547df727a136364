// The event bank: the text file that names every sound event the game may play, one line per
// event, and what each is made of.
//
//   # path                mode     volume  sound files       [parameter: settings]
//   SFX/Player_Jump_01    oneshot  0.8     jump.ogg
//   Music/Theme           loop     0.6     pad.ogg lead.ogg  Mood: start=0 fade=3 0=1/0 1=1/1
//
// The mode is "oneshot" (fire and forget) or "loop" (one live instance at a time, stopped by
// name). A volume is 0..1. With several files the event is layered: the files play together, in
// step, and must be of one length. A parameter ("Name:") lists the layer gains of each of its
// states as "value=gain/gain/..." (one gain per file); setting the parameter moves the layers to
// the gains of the nearest state over "fade" seconds, starting from the state "start". A malformed
// line is reported as "<file>:<line>: <problem>" and skipped; the rest of the bank loads.
#pragma once

#include <string>
#include <vector>

struct ParameterState {
    float value = 0.0f;
    std::vector<float> layerGains;
};

struct EventParameter {
    std::string name;
    float start = 0.0f;
    float fadeSeconds = 0.0f;
    std::vector<ParameterState> states;

    // The state whose value lies nearest `value`; the parameter has at least one.
    const ParameterState& StateNearest(float value) const;
};

struct EventDescription {
    std::string path;
    bool oneShot = true;
    float volume = 1.0f;
    std::vector<std::string> files;
    std::vector<EventParameter> parameters;

    const EventParameter* FindParameter(const std::string& name) const;
};

// Reads the bank text; `fileName` names it in diagnostics. A later line for a path already read is
// reported and skipped.
std::vector<EventDescription> ParseEventBank(const std::string& text, const std::string& fileName);
