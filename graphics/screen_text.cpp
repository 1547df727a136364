#include "graphics/screen_text.h"

namespace ScreenText {
namespace {

std::map<std::string, std::vector<Line>, std::less<>>& Storage() {
    static std::map<std::string, std::vector<Line>, std::less<>> lines;
    return lines;
}

}  // namespace

void Set(std::string_view owner, std::vector<Line> lines) {
    if (lines.empty()) {
        Clear(owner);
        return;
    }
    auto& storage = Storage();
    if (auto it = storage.find(owner); it != storage.end()) {
        it->second = std::move(lines);
    } else {
        storage.emplace(std::string(owner), std::move(lines));
    }
}

void Clear(std::string_view owner) {
    auto& storage = Storage();
    if (auto it = storage.find(owner); it != storage.end()) {
        storage.erase(it);
    }
}

void ClearAll() {
    Storage().clear();
}

const std::map<std::string, std::vector<Line>, std::less<>>& All() {
    return Storage();
}

std::vector<std::string> Texts() {
    std::vector<std::string> texts;
    for (const auto& [owner, lines] : Storage()) {
        for (const Line& line : lines) {
            texts.push_back(line.text);
        }
    }
    return texts;
}

void DrawAll(platform::GraphicsDevice& device) {
    for (const auto& [owner, lines] : Storage()) {
        for (const Line& line : lines) {
            const auto align =
                line.centred ? platform::TextAlign::Centre : platform::TextAlign::Left;
            if (line.plated) {
                device.DrawTextPlate(line.text, line.x, line.y, kPlate, align, kPlateMargin);
            }
            device.DrawText(line.text, line.x, line.y, line.colour, align);
        }
    }
}

}  // namespace ScreenText
