// Render fixtures: a scratch working directory holding "assets/" with a generated sprite sheet and
// the game's effect file, and builders for the objects a render test draws. Objects are appended
// to LevelObjects, so ResetEngineState() frees them.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/vector.h"

class GraphicsSystem;
class Object;

namespace testing_support {

// The generated sheet: 10 x 5 cells of 32 x 32 pixels.
//  - cell 1: left half red, right half blue (shows mirroring);
//  - cell 2: top half alpha 4 (fails the alpha test), bottom half opaque green;
//  - cell 3: white at alpha 128;
//  - every other cell f: an opaque colour of its own (CellColour).
inline constexpr int kSheetCell = 32;
struct Rgba {
    unsigned char r, g, b, a;
};
Rgba CellColour(int frame);

class ScratchAssets {
public:
    // Makes a fresh directory under the temp folder, writes "assets/sheet.png" and copies the
    // effect file, and makes it the working directory until destruction.
    explicit ScratchAssets(const std::string& tag);
    ~ScratchAssets();
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

// A visible object with a TextureComponent playing `animation` (resolved at once).
Object* MakeSprite(const std::string& animation, Vector2D position, Vector2D scale, float zlayer);
// A visible object with a ColoredSquareComponent.
Object* MakeSquare(Vector2D position, Vector2D scale, float zlayer, float r, float g, float b,
                   float a);

// One engine frame as the renderer sees it: the frame starts, the message queues swap, input
// updates and takes `keys` (virtual key, pressed) as the window delivers them, with the debug
// commands they make, and the renderer updates and draws.
void RenderFrame(GraphicsSystem& graphics, const std::vector<std::pair<int, bool>>& keys = {});

}  // namespace testing_support
