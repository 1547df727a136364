#include "objects/graveyard.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "core/messaging.h"
#include "objects/component.h"
#include "objects/object.h"

namespace Graveyard {
namespace {

struct State {
    std::vector<Object*> objects;
    std::vector<Component*> components;
};

State& S() {
    static State state;
    return state;
}

}  // namespace

void Bury(Object* object) {
    S().objects.push_back(object);
}
void Bury(Component* component) {
    S().components.push_back(component);
}

void Collect() {
    State& s = S();
    if (s.objects.empty() && s.components.empty()) {
        return;
    }
    std::vector<const void*> referenced;
    MessagingSystem::CollectReferences(referenced);
    const std::unordered_set<const void*> reachable(referenced.begin(), referenced.end());

    std::erase_if(s.components, [&](Component* c) {
        if (c->SystemReferences() > 0 || reachable.contains(c)) {
            return false;
        }
        delete c;
        return true;
    });
    std::erase_if(s.objects, [&](Object* o) {
        if (reachable.contains(o)) {
            return false;
        }
        delete o;
        return true;
    });
}

void FreeAll() {
    State& s = S();
    for (Component* c : s.components) {
        delete c;
    }
    for (Object* o : s.objects) {
        delete o;
    }
    s.components.clear();
    s.objects.clear();
}

std::size_t ObjectCount() {
    return S().objects.size();
}
std::size_t ComponentCount() {
    return S().components.size();
}

}  // namespace Graveyard
