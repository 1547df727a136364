#include "support/scene_builder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/messaging.h"
#include "meta/component_factory.h"
#include "objects/component.h"
#include "objects/level_objects.h"
#include "objects/object.h"

namespace testing_support {

std::vector<Object*> BuildScene(std::string_view text) {
    std::vector<Object*> objects;
    std::istringstream lines{std::string(text)};
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const bool indented = !line.empty() && (line[0] == ' ' || line[0] == '\t');
        std::istringstream words(line);
        std::vector<std::string> tokens;
        for (std::string word; words >> word;) {
            tokens.push_back(word);
        }
        if (tokens.empty() || tokens[0][0] == '#') {
            continue;
        }
        if (!indented) {
            if (tokens.size() < 5) {
                ADD_FAILURE() << "scene line " << number << ": name x y sx sy [rotation]";
                continue;
            }
            auto* object = new Object;
            object->SetName(tokens[0]);
            object->SetVisible(true);
            object->GetTransform().SetScale({std::stof(tokens[3]), std::stof(tokens[4])});
            if (tokens.size() > 5) {
                object->GetTransform().SetRotationDegrees(std::stoi(tokens[5]));
            }
            LevelObjects().push_back(object);
            objects.push_back(object);
            object->GetTransform().SetPosition({std::stof(tokens[1]), std::stof(tokens[2])});
            continue;
        }
        const Component* prototype = ComponentFactory::Find(tokens[0]);
        if (!prototype || objects.empty()) {
            ADD_FAILURE() << "scene line " << number << ": no component class " << tokens[0];
            continue;
        }
        std::vector<std::string> diagnostics;
        Component* component = prototype->CreateFromTokens(tokens, &diagnostics);
        for (const std::string& d : diagnostics) {
            ADD_FAILURE() << "scene line " << number << ": " << d;
        }
        Object* object = objects.back();
        object->AddComponent(tokens[0], component);
        // The loader sets the transform after the components, so a box takes its centre.
        object->GetTransform().SetPosition(object->GetTransform().GetPosition());
    }
    return objects;
}

std::vector<Object*> LoadScene(std::string_view text) {
    auto objects = BuildScene(text);
    MessagingSystem::Send<LevelObjectsLoadedMessage>();
    return objects;
}

}  // namespace testing_support
