// Graveyard: where destroyed objects and detached components wait until nothing can reach them.
// A component is freed once no system holds it in a list (its system-reference count is 0) and no
// queued message points at it; an object once no queued message points at it. Core collects once
// per step, right after the message queues swap.
#pragma once

#include <cstddef>

class Object;
class Component;

namespace Graveyard {

void Bury(Object* object);
void Bury(Component* component);
// Frees everything that is no longer reachable.
void Collect();
// Frees everything, reachable or not: for the end of the process or of a test, when no system
// will run again.
void FreeAll();
std::size_t ObjectCount();
std::size_t ComponentCount();

}  // namespace Graveyard
