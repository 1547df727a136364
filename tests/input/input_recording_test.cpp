#include "input/input_recording.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "core/messaging.h"
#include "input/input_system.h"
#include "meta/data_diagnostics.h"
#include "support/fake_gamepads.h"
#include "support/headless_engine.h"
#include "support/render_scene.h"

namespace fs = std::filesystem;

namespace {

using testing_support::FakeGamepads;
using testing_support::HeadlessEngine;

std::vector<char> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<char>& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

platform::ControllerState Sample(int i) {
    platform::ControllerState s;
    s.packetNumber = static_cast<std::uint32_t>(1000 + i);
    s.buttons = static_cast<std::uint16_t>(i % 3 == 0 ? PadButton::A : PadButton::DPadLeft);
    s.leftTrigger = static_cast<std::uint8_t>(i * 7);
    s.rightTrigger = 255;
    s.thumbLX = static_cast<std::int16_t>(-32768 + i * 3001);
    s.thumbLY = static_cast<std::int16_t>(32767 - i * 5);
    s.thumbRX = static_cast<std::int16_t>(i * -111);
    s.thumbRY = -1;
    return s;
}

// The records of `count` samples from `first`.
std::vector<char> SampleBytes(int first, int count) {
    std::vector<char> bytes;
    for (int i = first; i < first + count; ++i) {
        const auto record = InputRecording::Encode(Sample(i));
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
}

// The recording file of `count` samples from `first`, cut short by `cut` bytes.
void WriteSamples(int first, int count, std::size_t cut = 0) {
    std::vector<char> bytes = SampleBytes(first, count);
    bytes.resize(bytes.size() - cut);
    WriteBytes("assets/Level0Input/inputfile" + std::to_string(first == 0 ? 1 : first) + ".input",
               bytes);
}

// Every test runs in a fresh working directory: recordings go to "assets/Level<N>Input/".
class RecordingTest : public ::testing::Test {
protected:
    RecordingTest() { InputSystem::UseGamepads(&pads); }
    void Frame() { engine.RunFrames(1); }
    // The pad as the game reads it this step, as a record.
    static InputRecording::Record Seen() {
        return InputRecording::Encode(InputSystem::PadState(0));
    }
    void LoadLevel() {
        MessagingSystem::Send<LevelObjectsLoadedMessage>();
        Frame();
    }

    FakeGamepads pads;  // outlives the engine
    testing_support::ScratchAssets scratch{"recording"};
    HeadlessEngine engine;
};

TEST_F(RecordingTest, ALevelIsRecordedFromItsLoadToItsChangeAndPlaysBackAsRecorded) {
    InputSystem::SetRecordInput(true);
    pads.pads[0] = Sample(0);
    Frame();  // probe
    const int kFrames = 12;
    for (int i = 0; i < kFrames; ++i) {
        pads.pads[0] = Sample(i);
        if (i == 0) {
            LoadLevel();  // the read of this frame is the first record
        } else {
            Frame();
        }
        EXPECT_TRUE(InputSystem::IsRecording());
    }
    MessagingSystem::Send<ChangeLevelMessage>(0);
    Frame();
    EXPECT_FALSE(InputSystem::IsRecording()) << "a level change ends the recording";
    InputSystem::SetRecordInput(false);
    EXPECT_EQ(ReadBytes("assets/Level0Input/inputfile1.input"), SampleBytes(0, kFrames));

    // Play it back with the real pad showing something else entirely.
    pads.pads[0] = platform::ControllerState{};
    InputSystem::SetPlaybackInput(true);
    LoadLevel();
    ASSERT_TRUE(InputSystem::IsPlayingBack());
    EXPECT_TRUE(InputSystem::PadConnected(0));
    for (int i = 0; i < kFrames; ++i) {
        if (i > 0) {
            Frame();
        }
        EXPECT_EQ(Seen(), InputRecording::Encode(Sample(i))) << i;
        if (i == 3) {
            EXPECT_TRUE(InputSystem::PadButtonTriggered(0, PadButton::A));
        }
    }

    // The recording ran out: the next level is asked for once, and playback is over.
    Frame();
    EXPECT_FALSE(InputSystem::IsPlayingBack());
    Frame();
    std::vector<int> targets;
    MessagingSystem::ForEach<ChangeLevelMessage>(
        [&](const ChangeLevelMessage& change) { targets.push_back(change.target); });
    EXPECT_EQ(targets, std::vector<int>{1});
    InputSystem::SetPlaybackInput(false);
}

TEST_F(RecordingTest, RecordingPlaybackAndRandomInputEachKeepTheirOwnCount) {
    pads.pads[0] = Sample(0);
    const auto randomTrace = [&](bool recordMidway) {
        MessagingSystem::Reset();
        InputSystem::InputInitialize();
        InputSystem::UseGamepads(&pads);
        InputSystem::SeedRandom(5);
        InputSystem::SetRandomInput(true);
        testing::internal::CaptureStdout();
        for (int i = 0; i < 40; ++i) {
            if (recordMidway && i == 10) {
                InputSystem::StartRecording(true);
            }
            Frame();
        }
        return testing::internal::GetCapturedStdout();
    };
    const std::string alone = randomTrace(false);
    EXPECT_EQ(randomTrace(true), alone)
        << "a recording leaves random input's events where they were";
    EXPECT_EQ(InputSystem::RecordedSteps(), 30u);
    EXPECT_EQ(InputSystem::PlayedSteps(), 0u);

    MessagingSystem::Reset();
    InputSystem::InputInitialize();
    WriteSamples(0, 5);
    InputSystem::StartPlayback(true);
    ASSERT_TRUE(InputSystem::IsPlayingBack());
    for (int i = 0; i < 3; ++i) {
        Frame();
    }
    EXPECT_EQ(InputSystem::PlayedSteps(), 3u);
    EXPECT_EQ(InputSystem::RecordedSteps(), 0u);
}

TEST_F(RecordingTest, ATruncatedRecordingEndsThePlaybackCleanly) {
    WriteSamples(0, 3, 6);  // the third record is cut short

    InputSystem::SetPlaybackInput(true);
    testing::internal::CaptureStderr();
    LoadLevel();
    EXPECT_EQ(Seen(), InputRecording::Encode(Sample(0)));
    Frame();
    EXPECT_EQ(Seen(), InputRecording::Encode(Sample(1)));
    Frame();
    const std::string out = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(InputSystem::IsPlayingBack());
    EXPECT_EQ(InputSystem::PadState(0).buttons, 0) << "no half record leaks into the game";
    EXPECT_NE(out.find("inputfile1.input: byte 32:"), std::string::npos) << out;
    Frame();
    Frame();
    EXPECT_FALSE(InputSystem::IsPlayingBack());
}

TEST_F(RecordingTest, PlaybackWithNoRecordingDoesNotStart) {
    InputSystem::StartPlayback(true);
    EXPECT_FALSE(InputSystem::IsPlayingBack());
    WriteBytes("assets/Level0Input/notes.txt", {'x'});
    InputSystem::SetPlaybackInput(true);
    LoadLevel();
    EXPECT_FALSE(InputSystem::IsPlayingBack());
    Frame();
    EXPECT_FALSE(MessagingSystem::WasSent(MessageType::ChangeLevel));
}

TEST_F(RecordingTest, PlaybackPicksAmongTheLevelsRecordings) {
    for (int n = 1; n <= 3; ++n) {
        WriteSamples(n, 1);
    }
    std::set<std::uint32_t> packets;
    for (std::uint32_t seed = 0; seed < 40; ++seed) {
        InputSystem::SeedRandom(seed);
        InputSystem::StartPlayback(true);
        ASSERT_TRUE(InputSystem::IsPlayingBack());
        Frame();
        packets.insert(InputSystem::PadState(0).packetNumber);
        InputSystem::StartPlayback(false);
    }
    EXPECT_EQ(packets, (std::set<std::uint32_t>{1001, 1002, 1003}));
}

TEST_F(RecordingTest, ANewRecordingNeverReplacesAnOldOne) {
    // Two files with a gap: counting gives 2, and "inputfile3" is already taken.
    WriteBytes("assets/Level0Input/inputfile1.input", {'a'});
    WriteBytes("assets/Level0Input/inputfile3.input", {'c'});
    InputSystem::StartRecording(true);
    ASSERT_TRUE(InputSystem::IsRecording());
    InputSystem::StartRecording(false);
    EXPECT_EQ(ReadBytes("assets/Level0Input/inputfile3.input"), std::vector<char>{'c'});
    EXPECT_TRUE(fs::exists("assets/Level0Input/inputfile4.input"));
    EXPECT_EQ(InputRecording::ListRecordings("assets/Level0Input/").size(), 3u);
}

TEST_F(RecordingTest, ARecordingFolderThatIsAFileIsReportedAndNothingIsRecorded) {
    fs::create_directories("assets");
    WriteBytes("assets/Level0Input", {'x'});
    const DataDiagnostics::Collector said;
    InputSystem::StartRecording(true);
    EXPECT_FALSE(InputSystem::IsRecording());
    ASSERT_EQ(said.Lines().size(), 1u);
    EXPECT_NE(said.Lines()[0].find("assets/Level0Input/: cannot make the recording folder"),
              std::string::npos);
}

}  // namespace
