#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "import/jquants_key.h"

namespace zepa {

std::string userKeyFilePath() {
    // Beside the viewer's settings file ($XDG_CONFIG_HOME/VORNEK/ZEPA_CHART.ini).
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return std::string(config) + "/VORNEK/jquants_api_key";
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        return {};
    }
    return std::string(home) + "/.config/VORNEK/jquants_api_key";
}

bool onlyOwnerCanRead(const std::string& path, std::string& problem) {
    struct stat s {};
    if (::stat(path.c_str(), &s) != 0) {
        problem = "cannot be examined";
        return false;
    }
    if ((s.st_mode & (S_IRGRP | S_IROTH)) != 0) {
        problem =
            "others can read the key file: make it the owner's alone (chmod 600 " + path + ")";
        return false;
    }
    return true;
}

bool restrictToOwner(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    return true;
}

}  // namespace zepa
