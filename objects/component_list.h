// ComponentList<T>: a system's list of the components it drives, in registration order.
//
// The list holds a system reference on each component (Component::AddSystemReference), so a
// detached component's storage outlives its place here. A walk drops every component whose owner
// has been cleared, without calling it, and visits every other one exactly once, even when a
// visited component destroys objects further down the list.
#pragma once

#include <cstddef>
#include <vector>

#include "objects/component.h"
#include "objects/object.h"

template <class T>
class ComponentList {
public:
    ComponentList() = default;
    ComponentList(const ComponentList&) = delete;
    ComponentList& operator=(const ComponentList&) = delete;
    ~ComponentList() { Clear(); }

    // Adds a component announced by RegisterComponent: only if it is a T, has an owner and (unless
    // `allowArchetypes`) that owner is a level object.
    bool AddAnnounced(Component* component, bool allowArchetypes = false) {
        auto* typed = dynamic_cast<T*>(component);
        if (!typed || !component->GetOwner()) {
            return false;
        }
        if (!allowArchetypes && component->GetOwner()->IsArchetype()) {
            return false;
        }
        component->AddSystemReference();
        items_.push_back(typed);
        return true;
    }

    template <class Visit>
    void Walk(Visit&& visit) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            T* item = items_[i];
            if (!item->GetOwner()) {
                item->DropSystemReference();
                continue;
            }
            items_[kept++] = item;
            visit(*item);
        }
        items_.resize(kept);
    }

    // Drops every component whose owner has been cleared, calling nothing.
    void Prune() {
        Walk([](T&) {});
    }

    void Clear() {
        for (T* item : items_) {
            item->DropSystemReference();
        }
        items_.clear();
    }

    std::size_t Size() const { return items_.size(); }
    bool Empty() const { return items_.empty(); }
    const std::vector<T*>& Items() const { return items_; }

private:
    std::vector<T*> items_;
};
