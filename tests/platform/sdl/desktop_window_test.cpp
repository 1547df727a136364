// The desktop window where no display answers: nothing opens and the reason is said, instead of
// the game running on unseen through SDL's fallback driver.
#include "platform/sdl/desktop_window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

// Sets (or, with nullptr, removes) an environment variable for the scope, then puts it back.
class EnvironmentOverride {
public:
    EnvironmentOverride(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~EnvironmentOverride() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(DesktopWindow, WhereNoDisplayAnswersNothingOpensAndTheReasonIsSaid) {
    const EnvironmentOverride display("DISPLAY", ":987");
    const EnvironmentOverride wayland("WAYLAND_DISPLAY", nullptr);
    const EnvironmentOverride runtime("XDG_RUNTIME_DIR", "/nonexistent");
    const EnvironmentOverride driver("SDL_VIDEODRIVER", nullptr);
    testing::internal::CaptureStderr();
    const auto window = platform::OpenDesktopWindow("");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(window, nullptr);
    EXPECT_NE(said.find("No display answered (DISPLAY is :987)"), std::string::npos) << said;
}

}  // namespace
