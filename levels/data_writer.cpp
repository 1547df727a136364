#include "levels/data_writer.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <sstream>

#include "levels/data_reader.h"
#include "meta/assets.h"
#include "meta/data_diagnostics.h"
#include "meta/meta_type.h"
#include "meta/safe_file.h"
#include "meta/tokenizer.h"
#include "meta/value_form.h"
#include "objects/component.h"
#include "objects/level_objects.h"
#include "objects/object.h"

namespace {

void WriteMember(std::ostream& out, const MetaMember& member, const char* at) {
    if (const ValueForm* form = member.Type().Form()) {
        out << member.Name() << ' ';
        form->write(out, at);
        out << ' ';
    }
}

// Writes `text` to the file `name` through a temporary file in the same folder and a rename, so
// that a failed or interrupted save leaves the old file whole. `what` names the save in messages.
bool ReplaceFile(const std::string& name, const std::string& text, const char* what,
                 const std::function<bool()>& beforeReplacing = {}) {
    std::string whyNot;
    if (!Assets::IsPlainName(name, &whyNot)) {
        DataDiagnostics::Report(name, 0,
                                std::string(what) + " refused: " + whyNot +
                                    "; a name must be a plain file name inside the assets "
                                    "folder; nothing written");
        return false;
    }
    const std::string path = Assets::SavePathOf(name);
    // The reader stops a file at its first over-long line, so such a file would lose data the
    // next time it is read: refuse it while the old file is still whole.
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        ++lineNumber;
        if (end - start > kMaxLineLength) {
            DataDiagnostics::Report(path, static_cast<int>(lineNumber),
                                    std::string(what) +
                                        " refused: the line would be longer than 1023 "
                                        "characters and not read back; nothing written");
            return false;
        }
        start = end + 1;
    }
    std::string why;
    SafeFile::Pending pending;
    if (pending.Write(path, text, &why)) {
        if (beforeReplacing && !beforeReplacing()) {
            return false;
        }
        if (pending.Commit(&why)) {
            return true;
        }
    }
    DataDiagnostics::Report(path, 0,
                            std::string(what) + " failed: " + why + "; the old file is unchanged");
    return false;
}

}  // namespace

void PrepareStream(std::ostream& out) {
    out << std::fixed << std::setprecision(9);
}

void WriteComponentLine(std::ostream& out, const Component& component) {
    const MetaType& type = component.GetMetaType();
    const char* base = static_cast<const char*>(dynamic_cast<const void*>(&component));
    out << type.Name() << ' ';
    for (const MetaMember& member : type.Members()) {
        WriteMember(out, member, base + member.Offset());
    }
    out << '\n';
}

void WriteLevel(std::ostream& out, const std::vector<Object*>& objects) {
    PrepareStream(out);
    for (const Object* object : objects) {
        const Transform2D& t = object->GetTransform();
        out << object->GetName() << '\n' << "{" << '\n';
        out << "Transform2D " << t.GetPosition().x << ' ' << t.GetPosition().y << ' '
            << t.GetZLayer() << ' ' << t.GetScale().x << ' ' << t.GetScale().y << ' '
            << t.GetRotationRadians() << '\n';
        for (const auto& [name, component] : object->GetComponents()) {
            if (component->GetMetaType().IsSaved()) {
                WriteComponentLine(out, *component);
            }
        }
        out << "}" << '\n';
    }
}

std::string LevelText(const std::vector<Object*>& objects) {
    std::ostringstream text;
    WriteLevel(text, objects);
    return std::move(text).str();
}

void WriteArchetype(std::ostream& out, const Object& object) {
    PrepareStream(out);
    for (const auto& [name, component] : object.GetComponents()) {
        if (component->GetName() == "Transform2D") {
            out << "Transform2D" << '\n';
        } else if (component->GetMetaType().IsSaved()) {
            WriteComponentLine(out, *component);
        }
    }
}

bool NameReadsBack(std::string_view name) {
    return !name.empty() && name.front() != '{' && name.find_first_of("\r\n") == name.npos;
}

bool SaveLevel(const std::string& name, const std::function<bool()>& beforeReplacing) {
    for (const Object* object : LevelObjects()) {
        const std::string& objectName = object->GetName();
        if (!NameReadsBack(objectName)) {
            DataDiagnostics::Report(Assets::PathOf(name), 0,
                                    "level save refused: the object name \"" + objectName +
                                        "\" would not read back (empty, starting with \"{\" or "
                                        "holding a line end); nothing written");
            return false;
        }
    }
    std::ostringstream text;
    WriteLevel(text, LevelObjects());
    return ReplaceFile(name, text.str(), "level save", beforeReplacing);
}

bool WriteArchetypeList(const std::string& selectedName) {
    std::ostringstream text;
    bool listed = false;
    for (const auto& [name, archetype] : ArchetypeTable()) {
        text << name << '\n';
        listed = listed || name == selectedName;
    }
    if (!listed && !selectedName.empty()) {
        text << selectedName << '\n';
    }
    return ReplaceFile("Objects", text.str(), "archetype list save");
}

bool SaveArchetype(Object* selected, const std::function<bool()>& beforeReplacing) {
    if (!selected) {
        return false;
    }
    // The selected object may be an archetype about to be destroyed: keep what is needed of it.
    const std::string name = selected->GetName();
    std::string why;
    if (!Assets::IsPlainName(name, &why)) {
        DataDiagnostics::Report(name, 0,
                                "archetype save refused: " + why +
                                    "; a name must be a plain file name inside the assets "
                                    "folder; nothing written");
        return false;
    }
    std::ostringstream text;
    WriteArchetype(text, *selected);
    // A list naming a file that was never written would load an empty archetype in its place.
    if (!ReplaceFile(name, text.str(), "archetype save", beforeReplacing)) {
        return false;
    }
    const bool listed = WriteArchetypeList(name);
    auto& archetypes = ArchetypeTable();
    while (!archetypes.Empty()) {
        archetypes.begin()->second->Destroy();
    }
    LoadArchetypes();
    return listed;
}
