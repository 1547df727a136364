#include "editor/autosave.h"

#include <filesystem>

#include "meta/assets.h"
#include "meta/data_diagnostics.h"
#include "meta/safe_file.h"

namespace Autosave {

bool Write(const std::string& levelName, const std::string& levelText) {
    static bool reported = false;
    std::string why;
    const std::string path = Assets::SavePathOf(kFileName);
    if (SafeFile::Replace(path, levelName + '\n' + levelText, &why)) {
        reported = false;
        return true;
    }
    if (!reported) {
        // Once: every edit would repeat it.
        DataDiagnostics::Report(path, 0, "the editor's autosave could not be written: " + why);
        reported = true;
    }
    return false;
}

std::optional<Contents> Read() {
    std::string text;
    std::string why;
    if (!SafeFile::ReadAll(Assets::SavePathOf(kFileName), &text, &why)) {
        return std::nullopt;
    }
    const std::size_t end = text.find('\n');
    if (end == std::string::npos) {
        return std::nullopt;
    }
    return Contents{text.substr(0, end), text.substr(end + 1)};
}

void Remove() {
    std::error_code error;
    std::filesystem::remove(Assets::SavePathOf(kFileName), error);
}

}  // namespace Autosave
