#include "meta/assets.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>

#include "meta/data_diagnostics.h"

namespace fs = std::filesystem;

namespace Assets {
namespace {

Folders& CurrentStorage() {
    static Folders folders{"assets", "assets", {}, "screenshots"};
    return folders;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool HoldsData(const fs::path& folder) {
    std::error_code error;
    return fs::is_regular_file(folder / "Objects", error);
}

// An XDG base folder: the variable's value when it is an absolute path (the XDG base directory
// rules ignore any other), else the fallback below the home folder.
fs::path BaseFolder(const std::string& value, const std::string& home, const char* fallback) {
    if (!value.empty() && value.front() == '/') {
        return value;
    }
    return fs::path(home) / fallback;
}

// The desktop's pictures folder, as $XDG_PICTURES_DIR or else "user-dirs.dirs" names it;
// nothing when it names none, the home folder itself (a folder switched off), or a missing one.
std::optional<fs::path> DesktopPictures(const Surroundings& around) {
    const auto usable = [&](std::string value) -> std::optional<fs::path> {
        if (value.rfind("$HOME", 0) == 0) {
            value = around.home + value.substr(5);
        }
        std::error_code error;
        // Compared with a trailing separator on both, so that "$HOME/" is the home too.
        const fs::path folder = (fs::path(value) / "").lexically_normal();
        if (!value.empty() && folder.is_absolute() &&
            folder != (fs::path(around.home) / "").lexically_normal() &&
            fs::is_directory(folder, error)) {
            return folder.parent_path();
        }
        return std::nullopt;
    };
    if (const auto fromEnvironment = usable(around.picturesDir)) {
        return fromEnvironment;
    }
    std::ifstream in(BaseFolder(around.configHome, around.home, ".config") / "user-dirs.dirs");
    const std::string key = "XDG_PICTURES_DIR=\"";
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(key, 0) != 0 || line.back() != '"') {
            continue;
        }
        if (const auto folder = usable(line.substr(key.size(), line.size() - key.size() - 1))) {
            return folder;
        }
    }
    return std::nullopt;
}

// `name` as a path below a data folder, or nothing when it would reach outside one.
std::optional<fs::path> Below(std::string_view name) {
    std::string text(name);
    for (char& c : text) {
        c = c == '\\' ? '/' : c;
    }
    if (text.empty() || text.front() == '/' || text.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    const fs::path relative(text);
    for (const fs::path& part : relative) {
        if (part == "..") {
            return std::nullopt;
        }
    }
    return relative;
}

}  // namespace

Surroundings Surroundings::OfThisProcess() {
    Surroundings around;
    std::error_code error;
    around.executable = fs::read_symlink("/proc/self/exe", error);
    around.workingFolder = fs::current_path(error);
    around.home = Environment("HOME");
    if (around.home.empty()) {
        if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) {
            around.home = entry->pw_dir;
        }
    }
    around.dataHome = Environment("XDG_DATA_HOME");
    around.configHome = Environment("XDG_CONFIG_HOME");
    around.picturesDir = Environment("XDG_PICTURES_DIR");
    return around;
}

std::optional<Folders> Locate(const Surroundings& around, std::vector<fs::path>* looked) {
    // Beside the program first, so that an installed game never takes up an "assets" folder that
    // happens to lie where it was started.
    std::vector<fs::path> candidates;
    if (!around.executable.empty()) {
        const fs::path programFolder = around.executable.parent_path();
        candidates.push_back(programFolder / "assets");
        candidates.push_back((programFolder / ".." / "share" / "vorl").lexically_normal());
    }
    candidates.push_back(around.workingFolder / "assets");
    const fs::path& workingCopy = candidates.back();
    for (const fs::path& candidate : candidates) {
        if (looked) {
            looked->push_back(candidate);
        }
        if (!HoldsData(candidate)) {
            continue;
        }
        Folders folders;
        folders.shipped = candidate;
        folders.user = BaseFolder(around.dataHome, around.home, ".local/share") / "vorl";
        if (&candidate == &workingCopy) {
            folders.saves = candidate;
            folders.pictures = around.workingFolder / "screenshots";
        } else {
            folders.saves = folders.user / "assets";
            const std::optional<fs::path> pictures = DesktopPictures(around);
            folders.pictures = pictures ? *pictures / "Vorl" : folders.user / "screenshots";
        }
        return folders;
    }
    return std::nullopt;
}

void Use(Folders folders) {
    CurrentStorage() = std::move(folders);
}

const Folders& Current() {
    return CurrentStorage();
}

void SetRoot(const fs::path& root) {
    CurrentStorage().shipped = root;
    CurrentStorage().saves = root;
}

std::optional<fs::path> Inside(const fs::path& folder, std::string_view name, std::string* why) {
    const std::optional<fs::path> relative = Below(name);
    if (!relative) {
        if (why) {
            *why = "\"" + std::string(name) + "\" is not a name below the data folder";
        }
        return std::nullopt;
    }
    const fs::path path = folder / *relative;
    std::error_code error;
    const fs::path root = fs::canonical(folder, error);
    if (error) {
        return path;  // no folder yet: no link to follow
    }
    const fs::path resolved = fs::weakly_canonical(path, error);
    if (error) {
        return path;
    }
    if (std::mismatch(root.begin(), root.end(), resolved.begin(), resolved.end()).first !=
        root.end()) {
        if (why) {
            *why = "a link leads out of the data folder to " + resolved.string();
        }
        return std::nullopt;
    }
    return path;
}

namespace {

std::string Resolved(const fs::path& folder, std::string_view name) {
    std::string why;
    if (const std::optional<fs::path> path = Inside(folder, name, &why)) {
        return path->string();
    }
    // Names that are not names at all are the callers' to report; a link is found only here.
    static std::set<std::string, std::less<>> told;
    if (Below(name) && told.insert((folder / name).string()).second) {
        DataDiagnostics::Report((folder / name).string(), 0, why + "; not read");
    }
    return {};
}

std::map<std::string, std::string, std::less<>>& ReadNames() {
    static std::map<std::string, std::string, std::less<>> names;
    return names;
}

}  // namespace

std::string PathOf(std::string_view name) {
    const Folders& folders = Current();
    if (folders.Installed() && Below(name)) {
        std::error_code error;
        if (fs::exists(folders.saves / *Below(name), error)) {
            return Resolved(folders.saves, name);
        }
    }
    return Resolved(folders.shipped, name);
}

std::string ReadPathOf(std::string_view name, std::string_view what) {
    ReadNames().try_emplace(std::string(name), what);
    return PathOf(name);
}

std::string ReadAs(std::string_view name) {
    const auto it = ReadNames().find(name);
    return it == ReadNames().end() ? std::string() : it->second;
}

std::string SavePathOf(std::string_view name) {
    const std::string resolved = Resolved(Current().saves, name);
    if (resolved.empty()) {
        return {};
    }
    const fs::path path = resolved;
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    return path.string();
}

bool IsPlainName(std::string_view name, std::string* why) {
    const char* problem = nullptr;
    if (name.empty()) {
        problem = "the name is empty";
    } else if (name == "." || name == "..") {
        problem = "the name leaves the assets folder";
    } else if (name.find_first_of("/\\") != std::string_view::npos) {
        problem = "the name holds a path separator";
    } else if (name.find('\0') != std::string_view::npos) {
        problem = "the name holds a NUL character";
    }
    if (problem && why) {
        *why = problem;
    }
    return problem == nullptr;
}

}  // namespace Assets
