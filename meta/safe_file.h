// SafeFile: writing a file so that no failure (a full disk, a read-only folder, a kill, a power
// cut) can leave it half written. The text goes to "<file>.saving-<pid>" in the same folder, is
// flushed to the disk, and then replaces the file in one rename; until the rename the old file is
// whole, after it the new one is. A kill before the rename leaves only the temporary file, which
// ClearStaleTemporaries removes at the next start.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace SafeFile {

// The suffix of a temporary file before the writing process's id.
inline constexpr std::string_view kTemporaryMark = ".saving-";

// A temporary file written and flushed, not yet in place. Removed when dropped uncommitted.
class Pending {
public:
    Pending() = default;
    Pending(const Pending&) = delete;
    Pending& operator=(const Pending&) = delete;
    Pending(Pending&& other) noexcept;
    Pending& operator=(Pending&& other) noexcept;
    ~Pending();

    // Writes `text` beside `target`. False (and `why` says why, in words) when it could not be
    // written whole; nothing is left behind then.
    bool Write(const std::filesystem::path& target, std::string_view text, std::string* why);
    // Renames the temporary file over the target. False (with `why`) when the rename failed; the
    // target is then as it was.
    bool Commit(std::string* why);
    void Discard();

private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
};

// Write then Commit.
bool Replace(const std::filesystem::path& target, std::string_view text, std::string* why);

// The whole content of `file`. False (with `why`) when it cannot be read.
bool ReadAll(const std::filesystem::path& file, std::string* text, std::string* why);

// Removes the temporary files in `folder` whose writing process is gone; returns their paths.
std::vector<std::filesystem::path> ClearStaleTemporaries(const std::filesystem::path& folder);

}  // namespace SafeFile
