// Test fixtures for data files: a temporary assets folder filled from strings, so that a test
// reads like the level it loads, and a collector for the readers' diagnostics.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "meta/assets.h"
#include "meta/data_diagnostics.h"

namespace testing_support {

// A fresh folder under the system's temporary directory that becomes the data folder of a working
// copy for its lifetime; the previous folders are restored and the folder removed at the end.
class TempAssets {
public:
    TempAssets();
    ~TempAssets();
    TempAssets(const TempAssets&) = delete;
    TempAssets& operator=(const TempAssets&) = delete;

    // Gives the data folder the files of `source` as its folder `name`, hard linked where it can
    // (else copied): a link to a folder outside the data would be refused.
    void ShareFolder(const std::string& name, const std::filesystem::path& source) const;
    // Writes `text` byte for byte to the data file `name`.
    void Write(const std::string& name, const std::string& text) const;
    // The bytes of the data file `name`; empty when it does not exist.
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;
    const std::filesystem::path& Folder() const { return folder_; }
    // Every file name in the folder, sorted.
    std::vector<std::string> Files() const;

private:
    std::filesystem::path folder_;
    Assets::Folders previous_;
};

// Collects every diagnostic reported while it lives, instead of printing them.
class CapturedDiagnostics {
public:
    CapturedDiagnostics();
    ~CapturedDiagnostics();
    CapturedDiagnostics(const CapturedDiagnostics&) = delete;
    CapturedDiagnostics& operator=(const CapturedDiagnostics&) = delete;

    const std::vector<std::string>& Lines() const { return lines_; }
    // Whether some line contains `text`.
    bool Contains(const std::string& text) const;
    void Clear() { lines_.clear(); }

private:
    std::vector<std::string> lines_;
    DataDiagnostics::Sink previous_;
};

}  // namespace testing_support
