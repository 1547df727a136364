#include "objects/component_factory.h"

namespace ComponentFactory {
namespace {

std::map<std::string, Component*, std::less<>>& Table() {
    // Never destroyed: prototypes live for the whole run, and static destructors at exit must not
    // pull the table from under a late reader.
    static auto& table = *new std::map<std::string, Component*, std::less<>>;
    return table;
}

}  // namespace

bool Add(const std::string& name, Component* prototype) {
    return Table().emplace(name, prototype).second;
}

Component* Find(std::string_view name) {
    auto it = Table().find(name);
    return it == Table().end() ? nullptr : it->second;
}

const std::map<std::string, Component*, std::less<>>& All() {
    return Table();
}

}  // namespace ComponentFactory
