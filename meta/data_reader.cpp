#include "meta/data_reader.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "core/messaging.h"
#include "graphics/texture.h"
#include "meta/assets.h"
#include "meta/component_factory.h"
#include "meta/data_diagnostics.h"
#include "meta/data_numbers.h"
#include "meta/tokenizer.h"
#include "objects/component.h"
#include "objects/graveyard.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"

namespace {

// The check that a built component is safe to run. A dynamic rigid body divides by its mass and
// its friction every step, so zero in either would fill the level with NaN positions.
std::string Validate(const Component& component) {
    if (const auto* body = dynamic_cast<const RigidBody2D*>(&component)) {
        if (body->IsDynamic() && body->mass == 0.0f) {
            return "a dynamic RigidBody2D (state 1) needs a non-zero \"mass\"";
        }
        if (body->IsDynamic() && body->friction == 0) {
            return "a dynamic RigidBody2D (state 1) needs a non-zero \"friction\"";
        }
    }
    return {};
}

// A built component that runs but hardly as its author meant: worth a line, and it still loads.
std::string Doubt(const Component& component) {
    if (const auto* body = dynamic_cast<const RigidBody2D*>(&component)) {
        if (body->IsDynamic() && body->friction < RigidBody2D::kLivelyFriction) {
            return "a dynamic RigidBody2D with \"friction\" " + std::to_string(body->friction) +
                   " (below " + std::to_string(RigidBody2D::kLivelyFriction) +
                   ") stops dead every frame; the body still loads";
        }
    }
    return {};
}

// Builds the component of one component line and adds it to `object`; reports and skips the
// line when it cannot.
void AddComponentLine(const std::vector<std::string>& tokens, const LineReader& lines,
                      Object& object) {
    const std::string& className = tokens.front();
    const Component* prototype = ComponentFactory::Find(className);
    if (!prototype) {
        lines.Report("unknown component class \"" + className + "\"; line skipped");
        return;
    }
    std::vector<std::string> problems;
    Component* component = prototype->CreateFromTokens(tokens, &problems);
    if (!component) {
        lines.Report(className + " " + (problems.empty() ? "not built" : problems.front()) +
                     "; line skipped");
        return;
    }
    if (std::string problem = Validate(*component); !problem.empty()) {
        Graveyard::Bury(component);
        lines.Report(problem + "; line skipped");
        return;
    }
    if (!object.AddComponent(className, component)) {
        lines.Report("a second " + className + " line for the same object; the first stays");
        return;
    }
    if (std::string doubt = Doubt(*component); !doubt.empty()) {
        lines.Report(doubt);
    }
}

// The object's finishing step, shared by archetype files and level blocks.
void Finish(Object& object) {
    if (Component* texture = object.GetComponent("TextureComponent")) {
        texture->OnCloned();
    }
}

// "Transform2D x y zlayer scaleX scaleY radians" on a level object's embedded transform.
void ReadLevelTransform(const std::vector<std::string>& tokens, const LineReader& lines,
                        Object& object) {
    if (tokens.size() < 7) {
        lines.Report(
            "Transform2D needs six numbers (x y zlayer scaleX scaleY radians); line "
            "skipped");
        return;
    }
    float values[6];
    for (int i = 0; i < 6; ++i) {
        if (NumberResult r = ParseReal(tokens[i + 1], values[i]); !r.ok) {
            lines.Report("Transform2D number " + std::to_string(i + 1) + ": " + r.error +
                         "; line skipped");
            return;
        }
    }
    int degrees = 0;
    if (!LevelRotationDegrees(values[5], degrees)) {
        lines.Report("Transform2D rotation out of range; line skipped");
        return;
    }
    Transform2D& transform = object.GetTransform();
    transform.SetPosition({values[0], values[1]});
    transform.SetZLayer(values[2]);
    transform.SetScale({values[3], values[4]});
    transform.SetRotationDegrees(degrees);
}

bool StartsWith(const std::string& line, char c) {
    return !line.empty() && line.front() == c;
}

}  // namespace

bool LevelRotationDegrees(float radians, int& degrees) {
    const float d = radians * 180.0f / kPi;
    // A million degrees is far beyond any level's need and still converts back and forth through
    // single-precision radians to the same whole degree; larger turns would not survive a save.
    if (!(std::fabs(d) <= kMaxLevelRotationDegrees)) {
        return false;
    }
    degrees = static_cast<int>(std::round(d));
    return true;
}

void ReadArchetypeComponents(std::istream& in, const std::string& file, Object& archetype) {
    LineReader lines(in, file);
    std::string line;
    while (lines.Next(line)) {
        // A blank line between component lines is a harmless slip, not a class name.
        if (line.empty()) {
            continue;
        }
        AddComponentLine(Tokenize(line, LastToken::KeepEmpty), lines, archetype);
    }
}

void ReadLevelObjects(std::istream& in, const std::string& file) {
    LineReader lines(in, file);
    bool inside = false;
    Object* current = nullptr;
    int currentLine = 0;
    auto drop = [&](const std::string& why) {
        DataDiagnostics::Report(file, currentLine,
                                "object \"" + current->GetName() + "\" " + why + "; dropped");
        current->Destroy();
        current = nullptr;
    };

    std::string line;
    while (lines.Next(line)) {
        if (!inside) {
            if (StartsWith(line, '{')) {
                if (!current) {
                    lines.Report("a block with no name line before it; its lines are skipped");
                }
                inside = true;
            } else if (!line.empty()) {
                if (current) {
                    drop("has no block");
                }
                current = new Object;
                current->SetName(line);
                currentLine = lines.LineNumber();
            }
            continue;
        }
        if (StartsWith(line, '}')) {
            if (current) {
                current->SetVisible(true);
                Finish(*current);
                LevelObjects().push_back(current);
                // The block is done: a later "{" without a name must not reopen this object,
                // which would then sit in the list twice.
                current = nullptr;
            }
            inside = false;
            continue;
        }
        if (line.empty()) {
            continue;
        }
        if (!current) {
            lines.Report("line inside a block that has no name line; skipped");
            continue;
        }
        const std::vector<std::string> tokens = Tokenize(line, LastToken::KeepEmpty);
        if (tokens.front() == "Transform2D") {
            ReadLevelTransform(tokens, lines, *current);
        } else {
            AddComponentLine(tokens, lines, *current);
        }
    }
    if (current) {
        drop(inside ? "has no closing \"}\"" : "has no block");
    }
}

bool LoadArchetype(const std::string& name) {
    auto* archetype = new Object;
    const std::string path = Assets::PathOf(name);
    if (std::ifstream in(path, std::ios::binary); in) {
        ReadArchetypeComponents(in, path, *archetype);
    }
    archetype->SetName(name);
    Finish(*archetype);
    archetype->SetArchetype(true);
    if (!ArchetypeTable().Insert(name, archetype).second) {
        archetype->Destroy();
        return false;
    }
    return true;
}

void LoadArchetypes() {
    const std::string path = Assets::PathOf("Objects");
    if (std::ifstream in(path, std::ios::binary); in) {
        LineReader lines(in, path);
        std::string name;
        while (lines.Next(name)) {
            if (!LoadArchetype(name)) {
                lines.Report("archetype \"" + name + "\" is listed twice; the first stays");
            }
        }
    }
    MessagingSystem::Send<ArchetypesLoadedMessage>();
}

void LoadLevel(const std::string& name) {
    const std::string path = Assets::PathOf(name);
    if (std::ifstream in(path, std::ios::binary); in) {
        ReadLevelObjects(in, path);
    }
    MessagingSystem::Send<LevelObjectsLoadedMessage>();
}

std::vector<TextureListEntry> ReadTextureList(std::istream& in, const std::string& file) {
    std::vector<TextureListEntry> names;
    LineReader lines(in, file);
    std::string line;
    while (lines.Next(line)) {
        std::vector<std::string> tokens = Tokenize(line, LastToken::DropEmpty);
        if (!tokens.empty()) {
            names.push_back({std::move(tokens.front()), lines.LineNumber()});
        }
    }
    return names;
}

std::vector<AnimationListEntry> ReadAnimationList(std::istream& in, const std::string& file) {
    std::vector<AnimationListEntry> entries;
    LineReader lines(in, file);
    std::string line;
    while (lines.Next(line)) {
        std::vector<std::string> tokens = Tokenize(line, LastToken::DropEmpty);
        if (tokens.empty()) {
            continue;
        }
        if (tokens.size() < 2) {
            lines.Report("an animation needs a name and a texture name; line skipped");
            continue;
        }
        tokens.resize(std::max<std::size_t>(tokens.size(), 5));
        for (std::size_t i = 2; i < 4; ++i) {
            if (tokens[i].empty()) {
                tokens[i] = "1";
            }
        }
        if (tokens[4].empty()) {
            tokens[4] = "1.0";
        }
        int start = 0;
        int count = 0;
        AnimationListEntry entry{tokens[0], tokens[1]};
        entry.line = lines.LineNumber();
        NumberResult r = ParseWhole(tokens[2], start);
        const char* field = "start frame";
        if (r.ok) {
            field = "frame count";
            r = ParseWhole(tokens[3], count);
        }
        if (r.ok) {
            field = "frame duration";
            r = ParseReal(tokens[4], entry.frameDuration);
        }
        if (!r.ok) {
            lines.Report(std::string(field) + ": " + r.error + "; line skipped");
            continue;
        }
        if (start < 0 || count < 0) {
            lines.Report("start frame and frame count cannot be negative; line skipped");
            continue;
        }
        entry.startFrame = static_cast<unsigned int>(start);
        entry.frameCount = static_cast<unsigned int>(count);
        entries.push_back(std::move(entry));
    }
    return entries;
}

void LoadTextureList(const std::string& name) {
    const std::string path = Assets::PathOf(name);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return;
    }
    for (const TextureListEntry& e : ReadTextureList(in, path)) {
        if (TextureTable().Contains(e.name)) {
            DataDiagnostics::Report(path, e.line,
                                    "texture \"" + e.name + "\" is listed twice; the first stays");
            continue;
        }
        LoadTexture(e.name);
    }
}

void LoadAnimationList(const std::string& name) {
    const std::string path = Assets::PathOf(name);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return;
    }
    for (const AnimationListEntry& e : ReadAnimationList(in, path)) {
        if (AnimationTable().Contains(e.name)) {
            DataDiagnostics::Report(
                path, e.line, "animation \"" + e.name + "\" is listed twice; the first stays");
            continue;
        }
        AddAnimation(e.name, e.texture, e.startFrame, e.frameCount, e.frameDuration);
    }
}
