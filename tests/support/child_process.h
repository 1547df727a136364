// Runs a piece of a test in a forked child, so that what it changes about the process (a file-size
// limit, lost privileges, a crash) stays there, and hands back the text the piece returned.
#pragma once

#include <functional>
#include <string>

namespace testing_support {

// What `work` returned in the child; empty when the child died first or no pipe could be made.
std::string InChild(const std::function<std::string()>& work);

}  // namespace testing_support
