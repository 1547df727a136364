#include "meta/meta_type.h"

const MetaMember* MetaType::FindMember(std::string_view name) const {
    for (const MetaMember& member : members_) {
        if (member.Name() == name) {
            return &member;
        }
    }
    return nullptr;
}
