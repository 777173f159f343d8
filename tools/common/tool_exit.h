// The exit codes zepa_screen and zepa_walkforward share, and their one-line refusal on standard
// error.
#pragma once

#include <string>

namespace zepa {

inline constexpr int kExitDone = 0;
inline constexpr int kExitRefused = 1;  // nothing written to standard output; the reason on stderr
inline constexpr int kExitUsageError = 2;  // a bad argument; the usage follows the reason

// Prints "tool: message" on standard error and returns kExitRefused.
int refuse(const char* tool, const std::string& message);

}  // namespace zepa
