#include "editor/level_sameness.h"

#include <algorithm>
#include <vector>

namespace LevelSameness {

std::string Canonical(std::string_view levelText) {
    std::string out;
    out.reserve(levelText.size());
    std::vector<std::string_view> block;
    bool inBlock = false;
    while (!levelText.empty()) {
        const std::size_t end = levelText.find('\n');
        const std::string_view line = levelText.substr(0, end);
        levelText.remove_prefix(end == std::string_view::npos ? levelText.size() : end + 1);
        if (!inBlock) {
            out.append(line).push_back('\n');
            inBlock = !line.empty() && line.front() == '{';
            continue;
        }
        if (!line.empty() && line.front() == '}') {
            std::sort(block.begin(), block.end());
            for (const std::string_view inside : block) {
                out.append(inside).push_back('\n');
            }
            block.clear();
            out.append(line).push_back('\n');
            inBlock = false;
            continue;
        }
        block.push_back(line);
    }
    for (const std::string_view inside : block) {
        out.append(inside).push_back('\n');
    }
    return out;
}

bool Same(std::string_view a, std::string_view b) {
    return a == b || Canonical(a) == Canonical(b);
}

}  // namespace LevelSameness
