// The command-line tools run as processes (POSIX shells only).
#pragma once

#include <stdlib.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace zepa::test {

// Runs a command line with standard error discarded: its exit code (-1 when it did not exit)
// and what it wrote to standard output.
inline int runTool(const std::string& command, std::string* out = nullptr) {
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    std::array<char, 4096> buffer;
    for (size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
        if (out != nullptr) {
            out->append(buffer.data(), n);
        }
    }
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace zepa::test
