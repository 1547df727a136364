// ComponentFactory: one prototype per registered component class, keyed by the class name the data
// files use. Readers build components from a prototype (CreateFromTokens), the editor lists the
// names. Filled during static initialisation; prototypes never get an owner and are never freed.
#pragma once

#include <map>
#include <string>
#include <string_view>

class Component;

namespace ComponentFactory {

// Keeps the first prototype when a name is registered twice; returns whether it was inserted.
bool Add(const std::string& name, Component* prototype);
// The prototype for `name`, or null.
Component* Find(std::string_view name);
// Every registered class, by name.
const std::map<std::string, Component*, std::less<>>& All();

}  // namespace ComponentFactory
