#include "platform/message_box.h"

#include <iostream>

namespace platform {
namespace {

WarningBox installed = nullptr;

}  // namespace

void ShowWarningBox(const std::string& caption, const std::string& text) {
    if (installed) {
        installed(caption, text);
    } else {
        std::cerr << caption << '\n' << text << '\n';
    }
}

void UseWarningBox(WarningBox box) {
    installed = box;
}

}  // namespace platform
