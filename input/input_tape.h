// The input tape: recording the first controller's records of a level to a file, and playing such
// a file back in its place (the file format is input_recording.h). Two switches say whether every
// level load starts a recording or a playback (both off in the game); a level's recording or
// playback ends at the next level change. Each side counts its own steps.
#pragma once

#include <cstdint>
#include <optional>

#include "input/input_recording.h"
#include "platform/gamepad.h"

namespace input {

class Tape {
public:
    bool recordEveryLevel = false;
    bool playEveryLevel = false;

    // Ends the level's recording or playback that a switch started.
    void LevelChanging();

    void StartRecording(bool on, int level);
    // Starting a playback on a level with no recording leaves playback off; `choice` picks among
    // several recordings.
    void StartPlayback(bool on, int level, std::uint32_t choice);
    void StopPlayback();
    void Close();

    bool IsRecording() const { return recording_; }
    bool IsPlayingBack() const { return playingBack_; }

    // Appends this step's record while recording.
    void Record(const platform::ControllerState& state);
    // This step's record from the playback, or none when the recording is over (which ends the
    // playback).
    std::optional<platform::ControllerState> Play();

    std::uint64_t RecordedSteps() const { return recordedSteps_; }
    std::uint64_t PlayedSteps() const { return playedSteps_; }

private:
    InputRecording::Writer writer_;
    InputRecording::Reader reader_;
    bool recording_ = false;
    bool playingBack_ = false;
    std::uint64_t recordedSteps_ = 0;
    std::uint64_t playedSteps_ = 0;
};

}  // namespace input
