// Component::CreateFromTokens: a new component of the receiver's class, its members set from the
// member-name / value tokens of one data-file line.
#include <string>
#include <vector>

#include "core/vector.h"
#include "meta/meta_type.h"
#include "objects/component.h"

namespace {

std::string Unquote(const std::string& token) {
    std::string text;
    for (char c : token) {
        if (c != '"' && c != '\\') {
            text += c;
        }
    }
    return text;
}

// Decodes the value of `member` starting at tokens[index]; returns how many tokens it used.
std::size_t Decode(const MetaMember& member, char* at, const std::vector<std::string>& tokens,
                   std::size_t index) {
    const std::string& type = member.Type().Name();
    if (index >= tokens.size()) {
        return 0;
    }
    if (type == "int") {
        *reinterpret_cast<int*>(at) = std::stoi(tokens[index]);
        return 1;
    }
    if (type == "float") {
        *reinterpret_cast<float*>(at) = std::stof(tokens[index]);
        return 1;
    }
    if (type == "bool") {
        *reinterpret_cast<bool*>(at) = tokens[index] == "true";
        return 1;
    }
    if (type == "std::string") {
        *reinterpret_cast<std::string*>(at) = Unquote(tokens[index]);
        return 1;
    }
    if (type == "Vector2D" && index + 1 < tokens.size()) {
        *reinterpret_cast<Vector2D*>(at) = {std::stof(tokens[index]), std::stof(tokens[index + 1])};
        return 2;
    }
    return 0;
}

}  // namespace

Component* Component::CreateFromTokens(const std::vector<std::string>& tokens,
                                       std::vector<std::string>* diagnostics) const {
    Component* component = CreateDefault();
    char* base = static_cast<char*>(dynamic_cast<void*>(component));
    const MetaType& type = GetMetaType();
    std::size_t i = 1;
    while (i < tokens.size()) {
        const MetaMember* member = type.FindMember(tokens[i]);
        ++i;
        if (!member) {
            continue;
        }
        try {
            i += Decode(*member, base + member->Offset(), tokens, i);
        } catch (const std::exception& e) {
            if (diagnostics) {
                diagnostics->push_back(e.what());
            }
            ++i;
        }
    }
    return component;
}
