#include "meta/assets.h"

namespace Assets {
namespace {
std::string& RootStorage() {
    static std::string root = "assets";
    return root;
}
}  // namespace

const std::string& Root() {
    return RootStorage();
}

void SetRoot(std::string root) {
    RootStorage() = std::move(root);
}

std::string PathOf(std::string_view name) {
    std::string path = Root();
    path += '/';
    for (char c : name) {
        path += c == '\\' ? '/' : c;
    }
    return path;
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
