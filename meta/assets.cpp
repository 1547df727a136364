#include "meta/assets.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

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

std::string PathOf(std::string_view name) {
    const std::optional<fs::path> relative = Below(name);
    if (!relative) {
        return {};
    }
    const Folders& folders = Current();
    if (folders.Installed()) {
        std::error_code error;
        if (fs::exists(folders.saves / *relative, error)) {
            return (folders.saves / *relative).string();
        }
    }
    return (folders.shipped / *relative).string();
}

std::string SavePathOf(std::string_view name) {
    const std::optional<fs::path> relative = Below(name);
    if (!relative) {
        return {};
    }
    const fs::path path = Current().saves / *relative;
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
