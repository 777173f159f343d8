// Running a program of the build to its end, for the cases that time a whole process.
#pragma once

#include <chrono>

namespace zepa {

// Runs argv[0] with `argv` and, when `envp` is not null, that environment instead of this
// process's; in folder `dir` when not null; its output to /dev/null. Both arrays end in a null
// and are built before the call: after the fork only async-signal-safe calls are made. A run
// longer than `giveUpAfter` is killed. The seconds it took, or -1 when it could not start, was
// killed or did not exit with 0; `peakKiB` is raised to its peak resident memory.
double runChild(char* const argv[], char* const envp[], const char* dir,
                std::chrono::seconds giveUpAfter, double& peakKiB);

}  // namespace zepa
