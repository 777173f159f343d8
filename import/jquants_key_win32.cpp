#include <cstdlib>
#include <fstream>

#include "import/jquants_key.h"

namespace zepa {

std::string userKeyFilePath() {
    // The user's roaming profile, which only the user (and administrators) may read.
    const char* appData = std::getenv("APPDATA");
    if (appData == nullptr || appData[0] == '\0') {
        return {};
    }
    return std::string(appData) + "\\VORNEK\\jquants_api_key";
}

bool onlyOwnerCanRead(const std::string&, std::string&) {
    return true;
}

bool restrictToOwner(const std::string& path) {
    std::ofstream create(path, std::ios::binary);
    return static_cast<bool>(create);
}

}  // namespace zepa
