// The editor's panel layer: at most one panel on screen, holding fields bound straight to the
// memory of the values they show, and buttons with handlers. The editor describes a panel once
// (NewPanel, then the Add calls) and describes it again only when what it shows has changed; the
// layer draws it every frame over the game view and lets edits write into the bound memory.
//
// Rules for callers:
// - Bound memory must stay valid until the panel is deleted or replaced.
// - Button handlers never run inside Draw or inside event handling: a press is queued and runs
//   in DispatchPresses, which the editor calls at the start of its update. A handler may
//   therefore replace the panel, destroy objects or reload data.
// - Structure types describe a block of memory member by member (offsets from its start); a
//   member may itself be of a structure type defined earlier.
//
// The desktop layer is Dear ImGui on the SDL window (platform/imgui/imgui_panels.h); the headless
// twin (platform/headless/headless_panels.h) records what was built and lets tests press buttons
// and edit fields.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class PanelEvents;

// Int: 32-bit signed; Bool: one byte; Float: 32-bit; Text: std::string; Struct: a structure type.
enum class FieldType { Int, Bool, Float, Text, Struct };

using StructType = int;
inline constexpr StructType kNoStruct = -1;

struct StructMember {
    std::string name;
    FieldType type = FieldType::Int;
    StructType structType = kNoStruct;  // for FieldType::Struct
    std::size_t offset = 0;
    // "step=0.01" for a float edited in hundredths; empty otherwise.
    std::string definition;
};

struct StructDefinition {
    std::string name;
    std::size_t size = 0;
    std::vector<StructMember> members;
};

// A closed outline of four corners drawn over the game view, in back-buffer pixels.
struct Outline {
    float x[4] = {};
    float y[4] = {};
};

struct PanelItem {
    enum class Kind { Field, Button, Note };
    Kind kind = Kind::Note;
    std::string label;
    FieldType type = FieldType::Int;
    StructType structType = kNoStruct;
    std::string definition;
    void* data = nullptr;
    std::function<void()> onPress;
};

class PanelLayer {
public:
    PanelLayer() = default;
    PanelLayer(const PanelLayer&) = delete;
    PanelLayer& operator=(const PanelLayer&) = delete;
    virtual ~PanelLayer() = default;

    // Defines a structure type and returns its handle; defining a name again replaces nothing and
    // returns the first handle.
    StructType DefineStruct(const std::string& name, std::size_t size,
                            std::vector<StructMember> members);
    StructType FindStruct(const std::string& name) const;
    // Null for kNoStruct or an unknown handle.
    const StructDefinition* Struct(StructType type) const;

    // Deletes the current panel and opens an empty one called `title`.
    void NewPanel(const std::string& title);
    void DeletePanel();
    bool HasPanel() const { return hasPanel_; }
    const std::string& Title() const { return title_; }
    const std::vector<PanelItem>& Items() const { return items_; }

    // Items of the current panel, shown in the order added; ignored when there is no panel.
    void AddField(const std::string& label, FieldType type, void* data,
                  const std::string& definition = {});
    void AddStruct(const std::string& label, StructType type, void* data);
    void AddButton(const std::string& label, std::function<void()> onPress);
    // A line of text the user cannot edit.
    void AddNote(const std::string& text);

    // One line kept on screen apart from the panel (the editor's level name and whether it is
    // saved); empty shows nothing.
    void SetStatus(std::string text) { status_ = std::move(text); }
    const std::string& Status() const { return status_; }
    // Outlines drawn over the level (the editor's selection), kept until replaced.
    void SetOutlines(std::vector<Outline> outlines) { outlines_ = std::move(outlines); }
    const std::vector<Outline>& Outlines() const { return outlines_; }
    // A short text shown beside the mouse (a name on hover); empty shows nothing.
    void SetTooltip(std::string text) { tooltip_ = std::move(text); }
    const std::string& Tooltip() const { return tooltip_; }

    // Runs the handlers of the buttons pressed since the last call, in pressing order.
    void DispatchPresses();
    // True when a bound value was changed through the panel since the last call.
    bool TakeEdits();
    // A field is being edited right now (text being typed, a value being dragged): an edit in
    // progress, not yet one to remember.
    virtual bool IsEditing() const { return false; }

    // Draws the panel over whatever the renderer has drawn this frame; the renderer calls it once
    // per frame after the game's views. The headless twin draws nothing.
    virtual void Draw() {}
    // The layer's share of the window's events, or null when it takes none.
    virtual PanelEvents* Events() { return nullptr; }

protected:
    // The item at `index` of the current panel was pressed (a button).
    void QueuePress(std::size_t index);
    void NoteEdit() { edited_ = true; }

private:
    std::vector<StructDefinition> structs_;
    bool hasPanel_ = false;
    std::string title_;
    std::vector<PanelItem> items_;
    std::vector<std::function<void()>> pressed_;
    bool edited_ = false;
    std::string status_;
    std::vector<Outline> outlines_;
    std::string tooltip_;
};

std::unique_ptr<PanelLayer> MakeHeadlessPanels();

}  // namespace platform
