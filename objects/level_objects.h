// The two global homes of objects: LevelObjects, the ordered list of the live level and menu
// objects, and the ArchetypeTable, the templates by name (first one loaded under a name wins).
// Both are created on first use. An object in either is owned by it until Object::Destroy().
#pragma once

#include <vector>

#include "core/name_table.h"

class Object;

std::vector<Object*>& LevelObjects();
NameTable<Object*>& ArchetypeTable();

// The first live object called `name`, or null.
Object* FindLevelObject(std::string_view name);
