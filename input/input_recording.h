// Input recordings: the first controller's record of every simulation step of a level, written to
// and read from "*.input" files. A file is a bare sequence of 16-byte little-endian records (packet
// number u32, buttons u16, left and right trigger u8, then the four stick axes s16), one per step,
// so a recording plays the same game at any drawing rate; the files of level N live in the data
// folder "LevelNInput/" as "inputfile1.input", "inputfile2.input", ... (new ones in the saves
// folder, meta/assets.h).
//
// Used by the input system when recording or playback is switched on; a level's recording starts
// at its load and ends at the next level change.
#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gamepad.h"

namespace InputRecording {

inline constexpr std::size_t kRecordSize = 16;
using Record = std::array<std::uint8_t, kRecordSize>;

Record Encode(const platform::ControllerState& state);
platform::ControllerState Decode(const Record& record);

// The data name of the level's recording folder, "Level<level>Input/".
std::string FolderForLevel(int level);
// The recordings in `folder` ("inputfile<N>.input"), ordered by N.
std::vector<std::string> ListRecordings(const std::string& folder);

// Writes one recording.
class Writer {
public:
    // Makes the level's folder when needed and opens a new file there, numbered one past the
    // count of "*.input" files (or the first free number after that: an existing recording is
    // never overwritten). False, after one diagnostic line, when the folder or file cannot be made.
    bool Open(int level);
    void Append(const platform::ControllerState& state);
    void Close();
    bool IsOpen() const { return out_.is_open(); }
    const std::string& Path() const { return path_; }

private:
    std::ofstream out_;
    std::string path_;
};

// Reads one recording.
class Reader {
public:
    enum class Result { Record, End, Truncated };
    // Opens the recording chosen by `choice` (any number; taken modulo the number of recordings).
    // False when the level has no recording or it cannot be opened.
    bool Open(int level, std::uint32_t choice);
    // The next record; Truncated when the file ends inside a record (a diagnostic line names the
    // file and the byte offset).
    Result Next(platform::ControllerState& state);
    void Close();
    bool IsOpen() const { return in_.is_open(); }
    const std::string& Path() const { return path_; }

private:
    std::ifstream in_;
    std::string path_;
    std::uint64_t offset_ = 0;
};

}  // namespace InputRecording
