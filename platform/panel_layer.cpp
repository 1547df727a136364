#include "platform/panel_layer.h"

namespace platform {

StructType PanelLayer::DefineStruct(const std::string& name, std::size_t size,
                                    std::vector<StructMember> members) {
    if (const StructType known = FindStruct(name); known != kNoStruct) {
        return known;
    }
    structs_.push_back({name, size, std::move(members)});
    return static_cast<StructType>(structs_.size() - 1);
}

StructType PanelLayer::FindStruct(const std::string& name) const {
    for (std::size_t i = 0; i < structs_.size(); ++i) {
        if (structs_[i].name == name) {
            return static_cast<StructType>(i);
        }
    }
    return kNoStruct;
}

const StructDefinition* PanelLayer::Struct(StructType type) const {
    if (type < 0 || static_cast<std::size_t>(type) >= structs_.size()) {
        return nullptr;
    }
    return &structs_[static_cast<std::size_t>(type)];
}

void PanelLayer::NewPanel(const std::string& title) {
    DeletePanel();
    hasPanel_ = true;
    title_ = title;
}

void PanelLayer::DeletePanel() {
    hasPanel_ = false;
    title_.clear();
    items_.clear();
}

void PanelLayer::AddField(const std::string& label, FieldType type, void* data,
                          const std::string& definition) {
    if (!hasPanel_) {
        return;
    }
    PanelItem item;
    item.kind = PanelItem::Kind::Field;
    item.label = label;
    item.type = type;
    item.definition = definition;
    item.data = data;
    items_.push_back(std::move(item));
}

void PanelLayer::AddStruct(const std::string& label, StructType type, void* data) {
    if (!hasPanel_ || !Struct(type)) {
        return;
    }
    AddField(label, FieldType::Struct, data);
    items_.back().structType = type;
}

void PanelLayer::AddButton(const std::string& label, std::function<void()> onPress) {
    if (!hasPanel_) {
        return;
    }
    PanelItem item;
    item.kind = PanelItem::Kind::Button;
    item.label = label;
    item.onPress = std::move(onPress);
    items_.push_back(std::move(item));
}

void PanelLayer::AddNote(const std::string& text) {
    if (!hasPanel_) {
        return;
    }
    PanelItem item;
    item.kind = PanelItem::Kind::Note;
    item.label = text;
    items_.push_back(std::move(item));
}

void PanelLayer::QueuePress(std::size_t index) {
    if (index < items_.size() && items_[index].onPress) {
        // A copy: the handler outlives the panel that showed the button.
        pressed_.push_back(items_[index].onPress);
    }
}

void PanelLayer::DispatchPresses() {
    // Handlers may press nothing new, but they may rebuild the panel: walk a detached list.
    std::vector<std::function<void()>> now;
    now.swap(pressed_);
    for (const auto& handler : now) {
        handler();
    }
}

bool PanelLayer::TakeEdits() {
    const bool edited = edited_;
    edited_ = false;
    return edited;
}

}  // namespace platform
