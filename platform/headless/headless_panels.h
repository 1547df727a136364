// The headless twin of the panel layer: keeps the panel the editor built and draws nothing. Tests
// and tools use it the way a designer uses the desktop panel: they press a button by its label
// and type a value into a field by its path, and the editor sees the press at its next update and
// the edit through TakeEdits, as it would on the desktop.
#pragma once

#include <string>

#include "platform/panel_layer.h"

namespace platform {

class HeadlessPanels : public PanelLayer {
public:
    // Queues a press of the first button labelled `label`; false when the panel has none.
    bool Press(const std::string& label);
    bool HasButton(const std::string& label) const;
    // Writes `value` into the field at `path`: labels from the panel down through structure
    // members, joined by '.' ("Name", "Transform2D.position.X"). Numbers are read as the game's
    // data files read them; a bool is "true" or "false". False (nothing written) for an unknown
    // path or a value that does not read as the field's type.
    bool Edit(const std::string& path, const std::string& value);
    // The field's value as text, for the same paths; empty for an unknown path.
    std::string Value(const std::string& path) const;
    // Every field and button label of the panel, structure members as paths, one per line.
    std::string Describe() const;

private:
    // The field at `path`: its type and the address of its value, or false.
    bool Resolve(const std::string& path, FieldType& type, void*& data) const;
};

}  // namespace platform
