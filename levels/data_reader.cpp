#include "levels/data_reader.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "core/messaging.h"
#include "meta/assets.h"
#include "meta/data_diagnostics.h"
#include "meta/data_numbers.h"
#include "meta/tokenizer.h"
#include "objects/component.h"
#include "objects/component_factory.h"
#include "objects/graveyard.h"
#include "objects/level_objects.h"
#include "objects/object.h"

namespace {

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
    if (std::string problem = component->DataProblem(); !problem.empty()) {
        Graveyard::Bury(component);
        lines.Report(problem + "; line skipped");
        return;
    }
    if (!object.AddComponent(className, component)) {
        lines.Report("a second " + className + " line for the same object; the first stays");
        return;
    }
    if (std::string doubt = component->DataDoubt(); !doubt.empty()) {
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
    auto keep = [&] {
        current->SetVisible(true);
        Finish(*current);
        LevelObjects().push_back(current);
        // The block is done: a later "{" without a name must not reopen this object, which
        // would then sit in the list twice.
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
                keep();
            }
            inside = false;
            continue;
        }
        if (line.empty()) {
            continue;
        }
        if (lines.NextStartsWith('{')) {
            // Only a name line comes before a "{": the block above lost its "}".
            if (current) {
                lines.Report("object \"" + current->GetName() +
                             "\" has no closing \"}\"; it ends here, where \"" + line +
                             "\" begins");
                keep();
            }
            current = new Object;
            current->SetName(line);
            currentLine = lines.LineNumber();
            inside = false;
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
    const std::string path = Assets::ReadPathOf(name, Assets::kArchetype);
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
    const std::string path = Assets::ReadPathOf("Objects", "the archetype list");
    if (std::ifstream in(path, std::ios::binary); in) {
        LineReader lines(in, path);
        std::string name;
        while (lines.Next(name)) {
            std::string why;
            if (name.empty()) {
                lines.Report("an empty line names no archetype; skipped");
                continue;
            }
            if (!Assets::IsPlainName(name, &why)) {
                lines.Report("archetype name \"" + name + "\" refused: " + why +
                             "; only files inside the data folder are read");
                continue;
            }
            if (std::error_code error;
                !std::filesystem::is_regular_file(Assets::PathOf(name), error)) {
                lines.Report("archetype \"" + name + "\" has no file " + Assets::PathOf(name) +
                             "; it has no components");
            }
            if (!LoadArchetype(name)) {
                lines.Report("archetype \"" + name + "\" is listed twice; the first stays");
            }
        }
    } else {
        DataDiagnostics::Report(path, 0, "the archetype list is missing; there are no archetypes");
    }
    MessagingSystem::Send<ArchetypesLoadedMessage>();
}

void LoadLevel(const std::string& name) {
    const std::string path = Assets::ReadPathOf(name, Assets::kLevel);
    if (std::ifstream in(path, std::ios::binary); in) {
        ReadLevelObjects(in, path);
    }
    MessagingSystem::Send<LevelObjectsLoadedMessage>();
}
