#include "support/scene_builder.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>
#include <string>

#include "core/messaging.h"
#include "levels/data_reader.h"
#include "levels/data_writer.h"
#include "meta/data_diagnostics.h"
#include "objects/level_objects.h"
#include "objects/transform2d.h"

namespace testing_support {

std::string SceneToLevelText(std::string_view text) {
    std::istringstream lines{std::string(text)};
    std::ostringstream level;
    bool open = false;
    for (std::string line; std::getline(lines, line);) {
        const bool indented = !line.empty() && (line[0] == ' ' || line[0] == '\t');
        std::istringstream words(line);
        std::vector<std::string> tokens;
        for (std::string word; words >> word;) {
            tokens.push_back(word);
        }
        if (tokens.empty() || tokens[0][0] == '#') {
            continue;
        }
        if (indented) {
            level << line.substr(line.find_first_not_of(" \t")) << '\n';
            continue;
        }
        if (open) {
            level << "}\n";
        }
        const float degrees = tokens.size() > 5 ? std::stof(tokens[5]) : 0.0f;
        level << tokens[0] << "\n{\nTransform2D " << std::fixed << std::setprecision(9);
        for (int i : {1, 2}) {
            level << std::stof(tokens[static_cast<std::size_t>(i)]) << ' ';
        }
        level << 0.0f << ' ' << std::stof(tokens[3]) << ' ' << std::stof(tokens[4]) << ' '
              << degrees * kPi / 180.0f << '\n';
        open = true;
    }
    if (open) {
        level << "}\n";
    }
    return level.str();
}

std::vector<Object*> BuildScene(std::string_view text) {
    const std::size_t before = LevelObjects().size();
    std::vector<std::string> problems;
    auto previous = DataDiagnostics::SetSink([&](const std::string& l) { problems.push_back(l); });
    std::istringstream in(SceneToLevelText(text));
    ReadLevelObjects(in, "scene");
    DataDiagnostics::SetSink(previous);
    for (const std::string& p : problems) {
        ADD_FAILURE() << p;
    }
    return {LevelObjects().begin() + static_cast<std::ptrdiff_t>(before), LevelObjects().end()};
}

std::vector<Object*> LoadScene(std::string_view text) {
    auto objects = BuildScene(text);
    MessagingSystem::Send<LevelObjectsLoadedMessage>();
    return objects;
}

std::string ComponentLine(const Component& component) {
    std::ostringstream line;
    PrepareStream(line);
    WriteComponentLine(line, component);
    return line.str();
}

}  // namespace testing_support
