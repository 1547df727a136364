#include "support/asset_folder.h"

#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>

#include "meta/assets.h"

namespace testing_support {

TempAssets::TempAssets() : previous_(Assets::Current()) {
    static std::atomic<int> counter{0};
    folder_ = std::filesystem::temp_directory_path() /
              ("vorl-assets-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    Assets::SetRoot(folder_);
}

TempAssets::~TempAssets() {
    Assets::Use(previous_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void TempAssets::ShareFolder(const std::string& name, const std::filesystem::path& source) const {
    std::filesystem::create_directories(folder_ / name);
    for (const auto& entry : std::filesystem::directory_iterator(source)) {
        const std::filesystem::path target = folder_ / name / entry.path().filename();
        std::error_code error;
        std::filesystem::create_hard_link(entry.path(), target, error);
        if (error) {
            std::filesystem::copy_file(entry.path(), target);
        }
    }
}

void TempAssets::Write(const std::string& name, const std::string& text) const {
    std::ofstream out(folder_ / name, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string TempAssets::Read(const std::string& name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool TempAssets::Exists(const std::string& name) const {
    return std::filesystem::exists(folder_ / name);
}

std::vector<std::string> TempAssets::Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

CapturedDiagnostics::CapturedDiagnostics()
    : previous_(
          DataDiagnostics::SetSink([this](const std::string& line) { lines_.push_back(line); })) {}

CapturedDiagnostics::~CapturedDiagnostics() {
    DataDiagnostics::SetSink(std::move(previous_));
}

bool CapturedDiagnostics::Contains(const std::string& text) const {
    return std::any_of(lines_.begin(), lines_.end(), [&](const std::string& line) {
        return line.find(text) != std::string::npos;
    });
}

}  // namespace testing_support
