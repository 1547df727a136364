// The event bank: the text file that names every sound event the game may play, one line per
// event, and what each is made of.
//
//   # path           mode     volume  sound files       [options]  [parameter: settings]
//   SFX/Jump         oneshot  0.8     jump.ogg
//   SFX/Fan          loop     0.5     fan.ogg           fade=0.15 space=world
//   Music/Theme      loop     0.6     pad.ogg lead.ogg  fade=0.3 bar=2.4  Mood: start=0 fade=3
//   0=1/0 1=1/1@19.2
//
// The mode is "oneshot" (fire and forget) or "loop" (one live instance at a time, stopped by
// name). A volume is 0..1. With several files the event is layered: the files play together, in
// step, and must be of one length. Options: "fade=" the seconds a stop, pause or mute takes to
// fall silent and a loop takes to come in (0.05 unless given); "space=world" for a sound made by
// a piece of the level: heard from where it stands relative to the camera, and ended with the
// level ("space=screen", the default, is heard as it is); "bar=" the length of a bar in seconds,
// on whose lines the music moves between sections. A parameter ("Name:") lists the layer gains of
// each of its states as "value=gain/gain/..." (one gain per file), optionally followed by
// "@seconds": entering that state moves the music to that point of its files at the next bar line.
// Setting the parameter moves the layers to the gains of the nearest state over "fade" seconds,
// starting from the state "start". A malformed line is reported as "<file>:<line>: <problem>" and
// skipped; the rest of the bank loads.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct ParameterState {
    float value = 0.0f;
    std::vector<float> layerGains;
    std::optional<float> sectionSeconds;  // where the music goes on when the state is entered
};

struct EventParameter {
    std::string name;
    float start = 0.0f;
    float fadeSeconds = 0.0f;
    std::vector<ParameterState> states;

    // The state whose value lies nearest `value`; the parameter has at least one.
    const ParameterState& StateNearest(float value) const;
    std::size_t IndexNearest(float value) const;
};

struct EventDescription {
    std::string path;
    bool oneShot = true;
    float volume = 1.0f;
    std::vector<std::string> files;
    float fadeSeconds = 0.05f;
    bool world = false;
    float barSeconds = 0.0f;
    std::vector<EventParameter> parameters;

    const EventParameter* FindParameter(const std::string& name) const;
};

// Reads the bank text; `fileName` names it in diagnostics. A later line for a path already read is
// reported and skipped.
std::vector<EventDescription> ParseEventBank(const std::string& text, const std::string& fileName);
