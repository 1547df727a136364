#include "input/input_tape.h"

namespace input {

void Tape::LevelChanging() {
    if (recordEveryLevel) {
        writer_.Close();
        recording_ = false;
        recordedSteps_ = 0;
    } else if (playEveryLevel) {
        StopPlayback();
    }
}

void Tape::StartRecording(bool on, int level) {
    writer_.Close();
    recordedSteps_ = 0;
    recording_ = on && writer_.Open(level);
}

void Tape::StartPlayback(bool on, int level, std::uint32_t choice) {
    reader_.Close();
    playedSteps_ = 0;
    playingBack_ = on && reader_.Open(level, choice);
}

void Tape::StopPlayback() {
    reader_.Close();
    playingBack_ = false;
    playedSteps_ = 0;
}

void Tape::Close() {
    writer_.Close();
    reader_.Close();
    recording_ = false;
    playingBack_ = false;
}

void Tape::Record(const platform::ControllerState& state) {
    if (recording_ && !playingBack_) {
        writer_.Append(state);
        ++recordedSteps_;
    }
}

std::optional<platform::ControllerState> Tape::Play() {
    platform::ControllerState state;
    if (!playingBack_ || reader_.Next(state) != InputRecording::Reader::Result::Record) {
        StopPlayback();
        return std::nullopt;
    }
    ++playedSteps_;
    return state;
}

}  // namespace input
