#include "objects/level_objects.h"

#include "objects/object.h"

std::vector<Object*>& LevelObjects() {
    static std::vector<Object*> objects;
    return objects;
}

NameTable<Object*>& ArchetypeTable() {
    static NameTable<Object*> table;
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
