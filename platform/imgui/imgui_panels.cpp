// Only this file includes Dear ImGui; its SDL2 and OpenGL 3 back ends are compiled from the
// library's own sources (see CMakeLists.txt).
#include "platform/imgui/imgui_panels.h"

#include <SDL.h>
#include <backends/imgui_impl_opengl3.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>
#include <imgui_stdlib.h>

#include <cstdint>
#include <cstdlib>

#include "platform/letterbox.h"
#include "platform/window_event.h"

namespace platform {
namespace {

constexpr float kPanelX = 8.0f;
constexpr float kPanelY = 8.0f;
constexpr float kTooltipGap = 8.0f;
// A bright line on a dark one: visible on light and dark art alike.
constexpr ImU32 kOutlineColour = IM_COL32(255, 214, 64, 255);
constexpr ImU32 kOutlineShadow = IM_COL32(20, 20, 20, 200);

// "step=0.01" -> 0.01; 0 when the definition names no step.
float StepOf(const std::string& definition) {
    const std::string key = "step=";
    const auto at = definition.find(key);
    return at == std::string::npos ? 0.0f
                                   : std::strtof(definition.c_str() + at + key.size(), nullptr);
}

class ImGuiPanels : public PanelLayer, public PanelEvents {
public:
    explicit ImGuiPanels(SDL_Window* window) : window_(window) {}
    ~ImGuiPanels() override {
        if (started_) {
            ImGui_ImplOpenGL3_Shutdown();
            ImGui_ImplSDL2_Shutdown();
            ImGui::DestroyContext();
        }
    }

    PanelEvents* Events() override { return this; }
    bool IsEditing() const override { return editing_; }

    bool Consume(const void* nativeEvent) override {
        if (!StartedIfShowing()) {
            return false;
        }
        const auto& event = *static_cast<const SDL_Event*>(nativeEvent);
        ImGui_ImplSDL2_ProcessEvent(&event);
        if (!HasPanel()) {
            return false;
        }
        const ImGuiIO& io = ImGui::GetIO();
        switch (event.type) {
            // A press or a turn of the wheel is the panel's when it happens on the panel. ImGui's
            // own view of the pointer is as old as its last frame, and older when the window
            // lacks focus: a click on the level just after a panel button would go to the panel.
            case SDL_MOUSEBUTTONDOWN:
                return OnPanel(event.button.x, event.button.y);
            case SDL_MOUSEWHEEL: {
                int x = 0;
                int y = 0;
                SDL_GetMouseState(&x, &y);
                return OnPanel(x, y);
            }
            case SDL_MOUSEMOTION:
            case SDL_MOUSEBUTTONUP:
                return io.WantCaptureMouse;
            case SDL_KEYDOWN:
            case SDL_KEYUP:
            case SDL_TEXTINPUT:
                return io.WantCaptureKeyboard;
            default:
                return false;
        }
    }

    void Draw() override {
        if (!StartedIfShowing()) {
            return;
        }
        ImGui_ImplOpenGL3_NewFrame();
        ImGui_ImplSDL2_NewFrame();
        ToBackBufferPixels();
        ImGui::NewFrame();
        if (HasPanel()) {
            ImGui::SetNextWindowPos(ImVec2(kPanelX, kPanelY), ImGuiCond_FirstUseEver);
            // Shown under the panel's name, known to ImGui by one fixed id: every panel opens
            // where the designer last moved the previous one.
            const std::string title = Title() + "###panel";
            const bool open =
                ImGui::Begin(title.c_str(), nullptr, ImGuiWindowFlags_AlwaysAutoResize);
            panelCorner_ = ImGui::GetWindowPos();
            panelSize_ = ImGui::GetWindowSize();
            if (open) {
                const auto& items = Items();
                for (std::size_t i = 0; i < items.size(); ++i) {
                    ImGui::PushID(static_cast<int>(i));
                    DrawItem(items[i], i);
                    ImGui::PopID();
                }
            }
            ImGui::End();
        }
        if (!Status().empty()) {
            // Bottom left, over the level, never in the way of a click.
            ImGui::SetNextWindowBgAlpha(0.6f);
            TextWindow("###status", ImVec2(kPanelX, kBackBufferHeight - kPanelY),
                       ImVec2(0.0f, 1.0f), Status());
        }
        ImDrawList* behindPanels = ImGui::GetBackgroundDrawList();
        for (const Outline& outline : Outlines()) {
            const ImVec2 corners[4] = {{outline.x[0], outline.y[0]},
                                       {outline.x[1], outline.y[1]},
                                       {outline.x[2], outline.y[2]},
                                       {outline.x[3], outline.y[3]}};
            behindPanels->AddPolyline(corners, 4, kOutlineShadow, ImDrawFlags_Closed, 4.0f);
            behindPanels->AddPolyline(corners, 4, kOutlineColour, ImDrawFlags_Closed, 2.0f);
        }
        if (!Tooltip().empty()) {
            DrawTooltip();
        }
        editing_ = ImGui::IsAnyItemActive();
        ImGui::Render();
        ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
    }

private:
    // ImGui starts with the first thing it has to show: a player who never opens the editor need
    // not wait for its cursors, program and font.
    bool StartedIfShowing() {
        if (!started_ &&
            (HasPanel() || !Status().empty() || !Outlines().empty() || !Tooltip().empty())) {
            IMGUI_CHECKVERSION();
            ImGui::CreateContext();
            ImGuiIO& io = ImGui::GetIO();
            // No layout file next to the game: the panel opens where the editor puts it.
            io.IniFilename = nullptr;
            io.LogFilename = nullptr;
            ImGui::StyleColorsDark();
            ImGui_ImplSDL2_InitForOpenGL(window_, SDL_GL_GetCurrentContext());
            ImGui_ImplOpenGL3_Init("#version 330 core");
            started_ = true;
        }
        return started_;
    }

    // Whether the window pixel (x, y) lies on the panel as it was last drawn.
    bool OnPanel(int x, int y) const {
        const ImVec2 back = ToBackBuffer(x, y);
        return back.x >= panelCorner_.x && back.x < panelCorner_.x + panelSize_.x &&
               back.y >= panelCorner_.y && back.y < panelCorner_.y + panelSize_.y;
    }

    // Left of the pointer and below it, where the palette at the right edge leaves room. The
    // pointer is asked of SDL: ImGui's own idea of it lags while the window lacks focus.
    void DrawTooltip() {
        int x = 0;
        int y = 0;
        SDL_GetMouseState(&x, &y);
        const ImVec2 pointer = ToBackBuffer(x, y);
        TextWindow("###tooltip", ImVec2(pointer.x - kTooltipGap, pointer.y + kTooltipGap),
                   ImVec2(1.0f, 0.0f), Tooltip());
    }

    // A line of text at `at` (its `pivot` corner there) that takes no input.
    static void TextWindow(const char* id, ImVec2 at, ImVec2 pivot, const std::string& text) {
        ImGui::SetNextWindowPos(at, ImGuiCond_Always, pivot);
        ImGui::Begin(id, nullptr,
                     ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoInputs |
                         ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoSavedSettings |
                         ImGuiWindowFlags_NoFocusOnAppearing | ImGuiWindowFlags_NoNav);
        ImGui::TextUnformatted(text.c_str());
        ImGui::End();
    }

    // The window pixel (x, y) in the back buffer, through the letterbox.
    ImVec2 ToBackBuffer(int x, int y) const {
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(window_, &width, &height);
        int backX = 0;
        int backY = 0;
        WindowToBackBuffer(LetterboxRect(width, height), x, y, backX, backY);
        return ImVec2(static_cast<float>(backX), static_cast<float>(backY));
    }

    // The SDL back end measured the window; the panel draws into the back buffer instead.
    void ToBackBufferPixels() {
        ImGuiIO& io = ImGui::GetIO();
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(window_, &width, &height);
        io.DisplaySize =
            ImVec2(static_cast<float>(kBackBufferWidth), static_cast<float>(kBackBufferHeight));
        io.DisplayFramebufferScale = ImVec2(1.0f, 1.0f);
        if (io.MousePos.x > -1.0e30f && width > 0 && height > 0) {
            int x = 0;
            int y = 0;
            WindowToBackBuffer(LetterboxRect(width, height), static_cast<int>(io.MousePos.x),
                               static_cast<int>(io.MousePos.y), x, y);
            io.MousePos = ImVec2(static_cast<float>(x), static_cast<float>(y));
        }
    }

    void DrawItem(const PanelItem& item, std::size_t index) {
        switch (item.kind) {
            case PanelItem::Kind::Note:
                ImGui::TextWrapped("%s", item.label.c_str());
                break;
            case PanelItem::Kind::Button:
                if (ImGui::Button(item.label.c_str())) {
                    QueuePress(index);
                }
                break;
            case PanelItem::Kind::Field:
                DrawField(item.label, item.type, item.structType, item.definition, item.data);
                break;
        }
    }

    void DrawField(const std::string& label, FieldType type, StructType structType,
                   const std::string& definition, void* data) {
        bool changed = false;
        switch (type) {
            case FieldType::Int:
                changed = ImGui::InputInt(label.c_str(), static_cast<std::int32_t*>(data));
                break;
            case FieldType::Bool:
                changed = ImGui::Checkbox(label.c_str(), static_cast<bool*>(data));
                break;
            case FieldType::Float: {
                const float step = StepOf(definition);
                changed = ImGui::InputFloat(label.c_str(), static_cast<float*>(data), step,
                                            step * 100.0f, "%.3f");
                break;
            }
            case FieldType::Text:
                changed = ImGui::InputText(label.c_str(), static_cast<std::string*>(data));
                break;
            case FieldType::Struct: {
                const StructDefinition* definitionOfStruct = Struct(structType);
                if (!definitionOfStruct) {
                    break;
                }
                if (ImGui::TreeNodeEx(label.c_str(), ImGuiTreeNodeFlags_DefaultOpen)) {
                    int memberIndex = 0;
                    for (const StructMember& member : definitionOfStruct->members) {
                        ImGui::PushID(memberIndex++);
                        DrawField(member.name, member.type, member.structType, member.definition,
                                  static_cast<char*>(data) + member.offset);
                        ImGui::PopID();
                    }
                    ImGui::TreePop();
                }
                break;
            }
        }
        if (changed) {
            NoteEdit();
        }
    }

    SDL_Window* window_;
    bool started_ = false;
    bool editing_ = false;
    // The panel's window in back-buffer pixels, as last drawn (nothing before the first).
    ImVec2 panelCorner_{0.0f, 0.0f};
    ImVec2 panelSize_{0.0f, 0.0f};
};

}  // namespace

std::unique_ptr<PanelLayer> MakeImGuiPanels(SDL_Window* window) {
    return std::make_unique<ImGuiPanels>(window);
}

}  // namespace platform
