// input_script: compiles a level solution written as a short script into a controller recording
// ("*.input"), so solutions stay readable and reviewable while the game plays the binary records.
//
//   input_script <script> <out.input>
//
// A script is a list of steps separated by commas or line ends; "#" starts a comment. A step is
// one or more actions joined by "+" and an optional frame count (default 1):
//
//   right 40, jump, right+jump 25, wait 10, switch
//
//   right, left   hold the D-pad that way for the step's frames
//   jump, switch  press A (jump) or X (switch form) on the step's first frame only; a step with a
//                 press lasts at least 2 frames, so the button is up again before the next step
//                 and every press is a fresh one
//   wait          nothing held
//
// Each frame becomes one 16-byte record (the packet number counts the frames). A bad step prints
// "<script>:<line>: <problem>" and no recording is written (exit 1), so a broken solution never
// replaces a good one. Exit 2 for usage.
#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "input/input_recording.h"
#include "platform/gamepad.h"

namespace {

struct Step {
    std::uint16_t held = 0;    // buttons held on every frame of the step
    std::uint16_t tapped = 0;  // buttons pressed on its first frame only
    int frames = 1;
};

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Parses one step ("right+jump 25"); returns an error text, empty on success.
std::string ParseStep(const std::string& text, Step& step) {
    std::istringstream words(text);
    std::string actions;
    std::string count;
    std::string extra;
    words >> actions >> count >> extra;
    if (!extra.empty()) {
        return "unexpected \"" + extra + "\" after the frame count";
    }
    if (!count.empty()) {
        if (count.size() > 6 || count.find_first_not_of("0123456789") != std::string::npos ||
            std::stoi(count) == 0) {
            return "frame count \"" + count + "\" is not a whole number from 1 to 999999";
        }
        step.frames = std::stoi(count);
    }
    std::istringstream parts(actions);
    std::string action;
    while (std::getline(parts, action, '+')) {
        if (action == "right") {
            step.held |= platform::PadButton::DPadRight;
        } else if (action == "left") {
            step.held |= platform::PadButton::DPadLeft;
        } else if (action == "jump") {
            step.tapped |= platform::PadButton::A;
        } else if (action == "switch") {
            step.tapped |= platform::PadButton::X;
        } else if (action != "wait") {
            return "unknown action \"" + action + "\" (right, left, jump, switch, wait)";
        }
    }
    if (step.tapped != 0 && step.frames < 2) {
        step.frames = 2;
    }
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: input_script <script> <out.input>\n";
        return 2;
    }
    const std::string scriptPath = argv[1];
    std::ifstream script(scriptPath);
    if (!script) {
        std::cerr << scriptPath << ": cannot be read\n";
        return 1;
    }
    std::vector<Step> steps;
    bool failed = false;
    std::string line;
    for (int lineNumber = 1; std::getline(script, line); ++lineNumber) {
        std::istringstream pieces(line.substr(0, line.find('#')));
        std::string piece;
        while (std::getline(pieces, piece, ',')) {
            piece = Trim(piece);
            if (piece.empty()) {
                continue;
            }
            Step step;
            const std::string error = ParseStep(piece, step);
            if (!error.empty()) {
                std::cerr << scriptPath << ":" << lineNumber << ": " << error << "\n";
                failed = true;
                continue;
            }
            steps.push_back(step);
        }
    }
    if (failed) {
        return 1;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    platform::ControllerState state;
    for (const Step& step : steps) {
        for (int frame = 0; frame < step.frames; ++frame) {
            state.buttons = step.held | (frame == 0 ? step.tapped : 0);
            const InputRecording::Record record = InputRecording::Encode(state);
            out.write(reinterpret_cast<const char*>(record.data()), record.size());
            ++state.packetNumber;
        }
    }
    out.close();
    if (!out) {
        std::cerr << argv[2] << ": cannot be written\n";
        return 1;
    }
    return 0;
}
