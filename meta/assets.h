// Assets: where the game's data files are, where the player's own files go, and how a data name
// becomes a file.
//
// Data names a file by a bare name ("level_Intro", "Objects") or by a path below the data folder
// ("Level6Input/inputfile1.input", "Sounds"); a backslash reads as "/" (the data was written on
// Windows). Two folders hold data:
//   - shipped: the data the game came with. An installed game's is read only
//   ("<prefix>/share/vorl",
//     or "assets" beside the binary); a working copy's is the "assets" folder of the working
//     directory, which the game reads and writes as its designers always have.
//   - saves: where the game writes data (editor saves and their backups, input recordings), and
//     where a name is looked for first. Installed, it is the player's own "<user>/assets", so a
//     designer's edits shadow the shipped files and survive an upgrade; in a working copy it is
//     the shipped folder itself.
// The user folder ($XDG_DATA_HOME/vorl, else ~/.local/share/vorl) holds the player's own files.
// Screenshots go to the pictures folder: "Vorl" in the desktop's pictures folder, else the user
// folder's "screenshots"; in a working copy, "screenshots" in the working directory.
//
// A name resolves only inside these folders: every name read from a data file (archetypes,
// levels, textures, sounds, recordings, the effect) goes through Inside(), which refuses an
// absolute name, a ".." part, and a link below the folder that leads out of it. The game calls
// Use(Locate(...)) once at start-up; until then (and in tools and tests) the data is a working copy
// in "assets" below the working directory, with no user folder.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Assets {

struct Folders {
    std::filesystem::path shipped;
    std::filesystem::path saves;
    // Empty when there is none (tools and tests): nothing of the player's is kept.
    std::filesystem::path user;
    std::filesystem::path pictures;

    // Whether the shipped data is read only, the player's files kept apart from it.
    bool Installed() const { return saves != shipped; }
};

// What the search for the data looks at.
struct Surroundings {
    std::filesystem::path executable;  // the running program's own file
    std::filesystem::path workingFolder;
    std::string home;         // $HOME
    std::string dataHome;     // $XDG_DATA_HOME
    std::string configHome;   // $XDG_CONFIG_HOME (where "user-dirs.dirs" names the pictures folder)
    std::string picturesDir;  // $XDG_PICTURES_DIR, which wins over "user-dirs.dirs"

    // This process's: /proc/self/exe, the working directory and the environment (the password
    // database's home when $HOME is unset).
    static Surroundings OfThisProcess();
};

// The folders of a game started in `around`. The shipped data is the first of
// "<program's folder>/assets", "<program's folder>/../share/vorl" (both installed) and
// "<working folder>/assets" (a working copy) that holds the archetype list "Objects". Nothing
// when none does; `looked` (if given) then receives the folders tried, in order.
std::optional<Folders> Locate(const Surroundings& around,
                              std::vector<std::filesystem::path>* looked = nullptr);

void Use(Folders folders);
const Folders& Current();
// Makes `root` a working copy's data folder (shipped and saves); the user and pictures folders
// stay as they are.
void SetRoot(const std::filesystem::path& root);

// The one path check: `name` as a file below `folder` (a backslash read as "/"), or nothing when
// it would lead out of the folder: empty, absolute, a ".." part, a NUL, or a link on the way
// (the folder's own path aside) that resolves outside it. `why` (if given) then says which.
std::optional<std::filesystem::path> Inside(const std::filesystem::path& folder,
                                            std::string_view name, std::string* why = nullptr);

// The file to read for the data name `name`: in the saves folder when it is there, else in the
// shipped folder. Empty when the name would leave the data folders; a name refused for a link
// is reported once (one line).
std::string PathOf(std::string_view name);
// PathOf for a file the game itself opens, which it remembers as `what` ("the sound bank", "a
// level", "an archetype"): the editor saves no level or archetype over the game's own files.
std::string ReadPathOf(std::string_view name, std::string_view what);
// What the game has opened `name` as (ReadPathOf); empty when it has not.
std::string ReadAs(std::string_view name);
inline constexpr std::string_view kLevel = "a level";
inline constexpr std::string_view kArchetype = "an archetype";
// The file a save of `name` writes, in the saves folder; the folders up to it are made when
// missing (a write that still fails reports itself). Empty when the name would leave the folders.
std::string SavePathOf(std::string_view name);

// Whether `name` names a file directly inside the data folder: not empty, no path separator,
// not "." or "..", no NUL. When not, `why` (if given) receives a sentence saying what is wrong.
bool IsPlainName(std::string_view name, std::string* why = nullptr);

}  // namespace Assets
