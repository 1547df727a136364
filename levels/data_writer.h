// The data-file writers, used by the editor: the whole current level, one object as an archetype,
// and the archetype list. They write exactly the syntax the readers take (levels/data_reader.h):
// every real number in fixed notation with nine decimals, every component line ending with a
// space, components only of the classes registered as saved (objects/component_registration.h). A
// space inside a text is written as backslash-space, so the text reads back whole.
//
// A save never leaves a half-written file: the text goes to a temporary file in the same folder,
// which then replaces the old file in one rename. A name that is not a plain file name inside the
// assets folder (a path separator, "..", empty) is refused with a diagnostic and nothing is
// written; so is a save that would hold a line too long for the reader. Save failures are reported
// through DataDiagnostics and never stop the game.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

class Component;
class Object;

// "<class> <member text forms>\n" for one component; the stream must already be in fixed
// notation with nine decimals (PrepareStream).
void WriteComponentLine(std::ostream& out, const Component& component);
void PrepareStream(std::ostream& out);
// The level file text of `objects`: per object its name, "{", the "Transform2D" line of its
// embedded transform, one line per component of a written class, "}".
void WriteLevel(std::ostream& out, const std::vector<Object*>& objects);
// The same, as one string.
std::string LevelText(const std::vector<Object*>& objects);
// The archetype file text of `object`: a bare "Transform2D" line for a Transform2D component,
// component lines of the written classes; the embedded transform is not written.
void WriteArchetype(std::ostream& out, const Object& object);

// Whether `name` reads back as the name line it is written as: a name line is the whole line, so
// an empty one is skipped by the reader, one starting with "{" opens a block, and a line end
// splits it (or is taken as part of the line's own ending).
bool NameReadsBack(std::string_view name);

// The saves below call `beforeReplacing` (when given) once the new text is safely on disk and
// before it replaces the old file; false from it stops the save with the old file untouched (the
// editor keeps its backups there, so that a save that cannot be written leaves them alone).
//
// Writes LevelObjects to the level file `name`. True when the file was replaced; refused (nothing
// written) when an object's name does not read back.
bool SaveLevel(const std::string& name, const std::function<bool()>& beforeReplacing = {});
// Writes `selected` to the archetype file of its name, rewrites the archetype list, destroys every
// archetype and loads them all again. Does nothing for a null object, a refused name or an
// archetype file that could not be written. True when the file and the list were replaced. The
// editor lays out its palette again and clears its selection afterwards (the selected object may
// have been one of the destroyed archetypes).
bool SaveArchetype(Object* selected, const std::function<bool()>& beforeReplacing = {});
// Rewrites "Objects": every archetype name in table order, then `selectedName` when it is not
// among them (empty: nothing added).
bool WriteArchetypeList(const std::string& selectedName);
