#include "graphics/texture_lists.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "graphics/texture.h"
#include "meta/assets.h"
#include "meta/data_diagnostics.h"
#include "meta/data_numbers.h"
#include "meta/tokenizer.h"

namespace {

// Hands each line of a list that holds a token to `entry`, as its tokens; blank lines are passed
// over.
template <class Entry>
void ForEachListLine(std::istream& in, const std::string& file, Entry entry) {
    LineReader lines(in, file);
    std::string line;
    while (lines.Next(line)) {
        std::vector<std::string> tokens = Tokenize(line, LastToken::DropEmpty);
        if (!tokens.empty()) {
            entry(tokens, lines);
        }
    }
}

}  // namespace

std::vector<TextureListEntry> ReadTextureList(std::istream& in, const std::string& file) {
    std::vector<TextureListEntry> names;
    ForEachListLine(in, file, [&](std::vector<std::string>& tokens, const LineReader& lines) {
        names.push_back({std::move(tokens.front()), lines.LineNumber()});
    });
    return names;
}

std::vector<AnimationListEntry> ReadAnimationList(std::istream& in, const std::string& file) {
    std::vector<AnimationListEntry> entries;
    ForEachListLine(in, file, [&](std::vector<std::string>& tokens, LineReader& lines) {
        if (tokens.size() < 2) {
            lines.Report("an animation needs a name and a texture name; line skipped");
            return;
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
            return;
        }
        if (start < 0 || count < 0) {
            lines.Report("start frame and frame count cannot be negative; line skipped");
            return;
        }
        entry.startFrame = static_cast<unsigned int>(start);
        entry.frameCount = static_cast<unsigned int>(count);
        entries.push_back(std::move(entry));
    });
    return entries;
}

void LoadTextureList(const std::string& name) {
    const std::string path = Assets::ReadPathOf(name, "the texture list");
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        DataDiagnostics::Report(
            path.empty() ? name : path, 0,
            "the texture list is missing; every picture draws as a placeholder");
        return;
    }
    const std::vector<TextureListEntry> entries = ReadTextureList(in, path);
    if (entries.empty()) {
        DataDiagnostics::Report(path, 0,
                                "the texture list names no picture; every picture draws as a "
                                "placeholder");
    }
    for (const TextureListEntry& e : entries) {
        if (TextureTable().Contains(e.name)) {
            DataDiagnostics::Report(path, e.line,
                                    "texture \"" + e.name + "\" is listed twice; the first stays");
            continue;
        }
        if (std::string why; !Assets::IsPlainName(e.name, &why)) {
            DataDiagnostics::Report(path, e.line,
                                    "texture name \"" + e.name + "\" refused: " + why +
                                        "; only pictures inside the data folder are read");
            continue;
        }
        ListTexture(e.name);
    }
}

void LoadAnimationList(const std::string& name) {
    const std::string path = Assets::ReadPathOf(name, "the animation list");
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        DataDiagnostics::Report(path.empty() ? name : path, 0,
                                "the animation list is missing; nothing is animated");
        return;
    }
    std::set<std::string> unlisted;
    for (const AnimationListEntry& e : ReadAnimationList(in, path)) {
        if (AnimationTable().Contains(e.name)) {
            DataDiagnostics::Report(
                path, e.line, "animation \"" + e.name + "\" is listed twice; the first stays");
            continue;
        }
        if (!TextureTable().Contains(e.texture) && unlisted.insert(e.texture).second) {
            DataDiagnostics::Report(path, e.line,
                                    "texture \"" + e.texture +
                                        "\" is not in the texture list; its animations draw as "
                                        "placeholders");
        }
        AddAnimation(e.name, e.texture, e.startFrame, e.frameCount, e.frameDuration);
    }
}
