#include "input/input_recording.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "meta/assets.h"
#include "meta/data_diagnostics.h"

namespace fs = std::filesystem;

namespace InputRecording {
namespace {

constexpr const char* kPrefix = "inputfile";
constexpr const char* kExtension = ".input";

void Put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
    Put16(p, static_cast<std::uint16_t>(v));
    Put16(p + 2, static_cast<std::uint16_t>(v >> 16));
}
std::uint16_t Get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t Get32(const std::uint8_t* p) {
    return Get16(p) | (static_cast<std::uint32_t>(Get16(p + 2)) << 16);
}

// N of "inputfile<N>.input", or 0 for any other name.
std::uint64_t RecordingNumber(const std::string& name) {
    const std::string prefix = kPrefix;
    const std::string extension = kExtension;
    if (name.size() <= prefix.size() + extension.size() || name.rfind(prefix, 0) != 0 ||
        name.compare(name.size() - extension.size(), extension.size(), extension) != 0) {
        return 0;
    }
    const std::string digits =
        name.substr(prefix.size(), name.size() - prefix.size() - extension.size());
    if (digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return 0;
    }
    return std::stoull(digits);
}

std::string RecordingName(std::uint64_t number) {
    return kPrefix + std::to_string(number) + kExtension;
}

}  // namespace

Record Encode(const platform::ControllerState& s) {
    Record r{};
    Put32(&r[0], s.packetNumber);
    Put16(&r[4], s.buttons);
    r[6] = s.leftTrigger;
    r[7] = s.rightTrigger;
    Put16(&r[8], static_cast<std::uint16_t>(s.thumbLX));
    Put16(&r[10], static_cast<std::uint16_t>(s.thumbLY));
    Put16(&r[12], static_cast<std::uint16_t>(s.thumbRX));
    Put16(&r[14], static_cast<std::uint16_t>(s.thumbRY));
    return r;
}

platform::ControllerState Decode(const Record& r) {
    platform::ControllerState s;
    s.packetNumber = Get32(&r[0]);
    s.buttons = Get16(&r[4]);
    s.leftTrigger = r[6];
    s.rightTrigger = r[7];
    s.thumbLX = static_cast<std::int16_t>(Get16(&r[8]));
    s.thumbLY = static_cast<std::int16_t>(Get16(&r[10]));
    s.thumbRX = static_cast<std::int16_t>(Get16(&r[12]));
    s.thumbRY = static_cast<std::int16_t>(Get16(&r[14]));
    return s;
}

std::string FolderForLevel(int level) {
    return "Level" + std::to_string(level) + "Input/";
}

std::vector<std::string> ListRecordings(const std::string& folder) {
    std::vector<std::pair<std::uint64_t, std::string>> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const std::uint64_t number = RecordingNumber(name);
        if (number == 0 || !it->is_regular_file(ec)) {
            continue;
        }
        if (std::string why; !Assets::Inside(folder, name, &why)) {
            DataDiagnostics::Report(folder + name, 0, "recording refused: " + why);
            continue;
        }
        found.emplace_back(number, folder + name);
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> paths;
    paths.reserve(found.size());
    for (auto& entry : found) {
        paths.push_back(std::move(entry.second));
    }
    return paths;
}

bool Writer::Open(int level) {
    Close();
    const std::string folder = Assets::SavePathOf(FolderForLevel(level));
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        fs::create_directories(folder, ec);
        if (ec || !fs::is_directory(folder, ec)) {
            DataDiagnostics::Report(folder, 0, "cannot make the recording folder; not recording");
            return false;
        }
    }
    std::uint64_t count = 0;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() == kExtension) {
            ++count;
        }
    }
    std::uint64_t number = count + 1;
    while (fs::exists(folder + RecordingName(number), ec)) {
        ++number;
    }
    path_ = folder + RecordingName(number);
    out_.open(path_, std::ios::binary | std::ios::trunc);
    if (!out_) {
        DataDiagnostics::Report(path_, 0, "cannot open for writing; not recording");
        return false;
    }
    return true;
}

void Writer::Append(const platform::ControllerState& state) {
    if (!out_.is_open()) {
        return;
    }
    const Record record = Encode(state);
    out_.write(reinterpret_cast<const char*>(record.data()), kRecordSize);
}

void Writer::Close() {
    if (out_.is_open()) {
        out_.close();
    }
    out_.clear();
}

bool Reader::Open(int level, std::uint32_t choice) {
    Close();
    const std::vector<std::string> recordings =
        ListRecordings(Assets::ReadPathOf(FolderForLevel(level), "a folder of input recordings"));
    if (recordings.empty()) {
        return false;
    }
    path_ = recordings[choice % recordings.size()];
    std::error_code error;
    if (!std::filesystem::is_regular_file(path_, error)) {
        DataDiagnostics::Report(path_, 0, "the recording is not a file; no playback");
        return false;
    }
    const auto size = std::filesystem::file_size(path_, error);
    if (error || size == 0) {
        DataDiagnostics::Report(path_, 0, "the recording is empty; no playback");
        return false;
    }
    in_.open(path_, std::ios::binary);
    if (!in_) {
        DataDiagnostics::Report(path_, 0, "the recording cannot be opened; no playback");
        return false;
    }
    if (size % kRecordSize != 0) {
        DataDiagnostics::Report(path_, 0,
                                "the recording's " + std::to_string(size) +
                                    " bytes are not a whole number of " +
                                    std::to_string(kRecordSize) +
                                    "-byte records (damaged or not a recording); it plays up to "
                                    "the last whole record");
    }
    return true;
}

Reader::Result Reader::Next(platform::ControllerState& state) {
    if (!in_.is_open()) {
        return Result::End;
    }
    Record record{};
    in_.read(reinterpret_cast<char*>(record.data()), kRecordSize);
    const auto got = static_cast<std::size_t>(in_.gcount());
    if (got == kRecordSize) {
        offset_ += kRecordSize;
        state = Decode(record);
        return Result::Record;
    }
    if (got == 0) {
        return Result::End;
    }
    DataDiagnostics::Report(
        path_, 0,
        "byte " + std::to_string(offset_) + ": the recording ends inside a record; playback ends");
    return Result::Truncated;
}

void Reader::Close() {
    if (in_.is_open()) {
        in_.close();
    }
    in_.clear();
    offset_ = 0;
}

}  // namespace InputRecording
