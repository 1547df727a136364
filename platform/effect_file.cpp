#include "platform/effect_file.h"

#include <fstream>
#include <sstream>

namespace platform {

EffectFile ParseEffect(const std::string& text) {
    EffectFile file;
    file.found = true;
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    EffectTechnique* current = nullptr;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (line.rfind("@technique", 0) == 0) {
            std::istringstream words(line.substr(10));
            EffectTechnique technique;
            words >> technique.name;
            technique.firstLine = lineNumber + 1;
            file.techniques.push_back(std::move(technique));
            current = &file.techniques.back();
            continue;
        }
        std::string& target = current ? current->source : file.shared;
        target += line;
        target += '\n';
    }
    return file;
}

EffectFile ReadEffectFile(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        return {};
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ParseEffect(text.str());
}

}  // namespace platform
