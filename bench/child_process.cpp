#include "bench/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

namespace zepa {

double runChild(char* const argv[], char* const envp[], const char* dir,
                std::chrono::seconds giveUpAfter, double& peakKiB) {
    const auto started = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, 1);
            ::dup2(null, 2);
        }
        if (dir == nullptr || ::chdir(dir) == 0) {
            if (envp != nullptr) {
                ::execve(argv[0], argv, envp);
            } else {
                ::execv(argv[0], argv);
            }
        }
        ::_exit(127);
    }
    if (pid < 0) {
        return -1;
    }
    int status = 0;
    struct rusage usage {};
    pid_t done = 0;
    while ((done = ::wait4(pid, &status, WNOHANG, &usage)) == 0) {
        if (std::chrono::steady_clock::now() - started > giveUpAfter) {
            ::kill(pid, SIGKILL);
            ::wait4(pid, &status, 0, &usage);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    const auto ended = std::chrono::steady_clock::now();
    if (done != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return -1;
    }
    peakKiB = std::max(peakKiB, static_cast<double>(usage.ru_maxrss));
    return std::chrono::duration<double>(ended - started).count();
}

}  // namespace zepa
