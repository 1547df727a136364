#include "meta/safe_file.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>

namespace SafeFile {
namespace {

// The cause in a designer's words first, the system's own after it in brackets.
std::string Reason(int error) {
    const std::string system = std::strerror(error);
    switch (error) {
        case EACCES:
        case EPERM:
        case EROFS:
            return "the folder is read-only (" + system + ")";
        case ENOSPC:
        case EFBIG:
        case EDQUOT:
            return "the disk is full (" + system + ")";
        default:
            return system;
    }
}

// Whether the process `pid` still runs (a save of another instance of the game may be under way).
bool ProcessRuns(long pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

// Flushes the folder's entry list, so the rename itself survives a power cut.
void SyncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

Pending::Pending(Pending&& other) noexcept
    : target_(std::move(other.target_)), temporary_(std::exchange(other.temporary_, {})) {}

Pending& Pending::operator=(Pending&& other) noexcept {
    if (this != &other) {
        Discard();
        target_ = std::move(other.target_);
        temporary_ = std::exchange(other.temporary_, {});
    }
    return *this;
}

Pending::~Pending() {
    Discard();
}

bool Pending::Write(const std::filesystem::path& target, std::string_view text, std::string* why) {
    Discard();
    // A file-size limit would otherwise end the process on the write that crosses it; the write
    // fails with EFBIG instead and is reported like a full disk.
    ::signal(SIGXFSZ, SIG_IGN);
    target_ = target;
    std::filesystem::path temporary = target;
    temporary += std::string(kTemporaryMark) + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int error = errno;
        std::error_code missing;
        const std::filesystem::path folder = target.parent_path();
        // A folder that could not be made (its parent read-only) is the cause, not the file.
        *why =
            error == ENOENT && !folder.empty() && !std::filesystem::is_directory(folder, missing)
                ? "the folder " + folder.string() + " is missing and could not be made (read-only?)"
                : Reason(error);
        return false;
    }
    int error = 0;
    for (std::size_t done = 0; done < text.size() && error == 0;) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno != EINTR) {
            error = errno;
        } else if (n > 0) {
            done += static_cast<std::size_t>(n);
        }
    }
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        *why = Reason(error);
        return false;
    }
    temporary_ = std::move(temporary);
    return true;
}

bool Pending::Commit(std::string* why) {
    if (temporary_.empty()) {
        *why = "nothing was written";
        return false;
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        *why = Reason(errno);
        Discard();
        return false;
    }
    temporary_.clear();
    SyncFolder(target_.parent_path());
    return true;
}

void Pending::Discard() {
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

bool Replace(const std::filesystem::path& target, std::string_view text, std::string* why) {
    Pending pending;
    return pending.Write(target, text, why) && pending.Commit(why);
}

bool ReadAll(const std::filesystem::path& file, std::string* text, std::string* why) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        *why = error ? error.message() : "it is not a file";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    if (!in && !in.eof()) {
        *why = "it could not be read";
        return false;
    }
    *text = std::move(content).str();
    return true;
}

std::vector<std::filesystem::path> ClearStaleTemporaries(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> removed;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        const std::size_t mark = name.rfind(kTemporaryMark);
        if (mark == std::string::npos || mark == 0) {
            continue;
        }
        const std::string digits = name.substr(mark + kTemporaryMark.size());
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos ||
            digits.size() > 9 || ProcessRuns(std::stol(digits))) {
            continue;
        }
        std::error_code removeError;
        if (std::filesystem::remove(entry.path(), removeError)) {
            removed.push_back(entry.path());
        }
    }
    return removed;
}

}  // namespace SafeFile
