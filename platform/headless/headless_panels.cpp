#include "platform/headless/headless_panels.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace platform {
namespace {

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(path);
    while (std::getline(in, part, '.')) {
        parts.push_back(part);
    }
    return parts;
}

// The first element of `range` that `matches`, or null.
template <class Range, class Matches>
auto FindFirst(const Range& range, Matches matches) -> decltype(&*std::begin(range)) {
    const auto it = std::find_if(std::begin(range), std::end(range), matches);
    return it == std::end(range) ? nullptr : &*it;
}

}  // namespace

bool HeadlessPanels::Press(const std::string& label) {
    const auto& items = Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].kind == PanelItem::Kind::Button && items[i].label == label) {
            QueuePress(i);
            return true;
        }
    }
    return false;
}

bool HeadlessPanels::HasButton(const std::string& label) const {
    return FindFirst(Items(), [&](const PanelItem& item) {
               return item.kind == PanelItem::Kind::Button && item.label == label;
           }) != nullptr;
}

bool HeadlessPanels::Resolve(const std::string& path, FieldType& type, void*& data) const {
    const std::vector<std::string> parts = SplitPath(path);
    if (parts.empty()) {
        return false;
    }
    const PanelItem* field = FindFirst(Items(), [&](const PanelItem& item) {
        return item.kind == PanelItem::Kind::Field && item.label == parts[0];
    });
    if (!field) {
        return false;
    }
    type = field->type;
    data = field->data;
    StructType structType = field->structType;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        const StructDefinition* definition = Struct(structType);
        if (type != FieldType::Struct || !definition) {
            return false;
        }
        const StructMember* found = FindFirst(definition->members, [&](const StructMember& member) {
            return member.name == parts[i];
        });
        if (!found) {
            return false;
        }
        type = found->type;
        structType = found->structType;
        data = static_cast<char*>(data) + found->offset;
    }
    return type != FieldType::Struct;
}

bool HeadlessPanels::Edit(const std::string& path, const std::string& value) {
    FieldType type;
    void* data = nullptr;
    if (!Resolve(path, type, data)) {
        return false;
    }
    try {
        switch (type) {
            case FieldType::Int:
                *static_cast<std::int32_t*>(data) = std::stoi(value);
                break;
            case FieldType::Float:
                *static_cast<float*>(data) = std::stof(value);
                break;
            case FieldType::Bool:
                if (value != "true" && value != "false") {
                    return false;
                }
                *static_cast<bool*>(data) = value == "true";
                break;
            case FieldType::Text:
                *static_cast<std::string*>(data) = value;
                break;
            case FieldType::Struct:
                return false;
        }
    } catch (const std::logic_error&) {
        return false;
    }
    NoteEdit();
    return true;
}

std::string HeadlessPanels::Value(const std::string& path) const {
    FieldType type;
    void* data = nullptr;
    if (!Resolve(path, type, data)) {
        return {};
    }
    switch (type) {
        case FieldType::Int:
            return std::to_string(*static_cast<std::int32_t*>(data));
        case FieldType::Float: {
            std::ostringstream out;
            out << *static_cast<float*>(data);
            return out.str();
        }
        case FieldType::Bool:
            return *static_cast<bool*>(data) ? "true" : "false";
        case FieldType::Text:
            return *static_cast<std::string*>(data);
        case FieldType::Struct:
            break;
    }
    return {};
}

std::string HeadlessPanels::Describe() const {
    std::ostringstream out;
    const auto describeStruct = [&](auto&& self, const std::string& prefix,
                                    StructType structType) -> void {
        const StructDefinition* definition = Struct(structType);
        if (!definition) {
            return;
        }
        for (const StructMember& member : definition->members) {
            if (member.type == FieldType::Struct) {
                self(self, prefix + member.name + ".", member.structType);
            } else {
                out << prefix << member.name << '\n';
            }
        }
    };
    for (const PanelItem& item : Items()) {
        if (item.kind == PanelItem::Kind::Field && item.type == FieldType::Struct) {
            describeStruct(describeStruct, item.label + ".", item.structType);
        } else {
            out << item.label << '\n';
        }
    }
    return out.str();
}

std::unique_ptr<PanelLayer> MakeHeadlessPanels() {
    return std::make_unique<HeadlessPanels>();
}

}  // namespace platform
