#include "support/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

std::string InChild(const std::function<std::string()>& work) {
    int channel[2];
    if (::pipe(channel) != 0) {
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const std::string said = work();
        [[maybe_unused]] const ssize_t n = ::write(channel[1], said.data(), said.size());
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string said;
    char buffer[512];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) {
        said.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    return said;
}

}  // namespace testing_support
