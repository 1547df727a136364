#include "objects/level_objects.h"

#include "objects/object.h"

std::vector<Object*>& LevelObjects() {
    // The global homes are never destroyed, so objects they hold stay reachable until exit.
    static auto& objects = *new std::vector<Object*>;
    return objects;
}

NameTable<Object*>& ArchetypeTable() {
    static auto& table = *new NameTable<Object*>;
    return table;
}

Object* FindLevelObject(std::string_view name) {
    for (Object* object : LevelObjects()) {
        if (object->GetName() == name) {
            return object;
        }
    }
    return nullptr;
}
