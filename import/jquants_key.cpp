#include "import/jquants_key.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/durable_file.h"
#include "import/text_input.h"

namespace zepa {

bool keyOfText(std::string text, std::string& key, std::string& problem) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.back())) {
        text.pop_back();
    }
    size_t first = 0;
    while (first < text.size() && blank(text[first])) {
        ++first;
    }
    text.erase(0, first);
    if (text.empty()) {
        problem = "holds no key";
        return false;
    }
    if (text.size() > 4096) {
        problem = "is too long to be a key";
        return false;
    }
    for (const char c : text) {
        if (c <= ' ' || c > '~') {
            problem = "holds more than one key on one line (blanks, line ends or other characters)";
            return false;
        }
    }
    key = std::move(text);
    return true;
}

KeyResult readKeyFile(const std::string& path, std::string& key, std::string& problem) {
    std::string text;
    if (!readWholeFile(path, text)) {
        problem = path + ": the key file cannot be read";
        return KeyResult::Refused;
    }
    std::string why;
    if (!onlyOwnerCanRead(path, why)) {
        problem = path + ": " + why;
        return KeyResult::Refused;
    }
    if (!keyOfText(std::move(text), key, why)) {
        problem = path + ": the key file " + why;
        return KeyResult::Refused;
    }
    return KeyResult::Found;
}

KeyResult findApiKey(const std::string& keyFile, std::string& key, std::string& problem) {
    if (!keyFile.empty()) {
        return readKeyFile(keyFile, key, problem);
    }
    if (const char* env = std::getenv("JQUANTS_API_KEY"); env != nullptr && env[0] != '\0') {
        std::string why;
        if (!keyOfText(env, key, why)) {
            problem = "JQUANTS_API_KEY " + why;
            return KeyResult::Refused;
        }
        return KeyResult::Found;
    }
    const std::string stored = userKeyFilePath();
    std::error_code ec;
    if (!stored.empty() && std::filesystem::exists(stored, ec)) {
        return readKeyFile(stored, key, problem);
    }
    problem =
        "no J-Quants API key: set JQUANTS_API_KEY, give --key-file FILE, or enter it in the "
        "viewer's 株価更新 settings (the key is on the J-Quants dashboard, "
        "https://jpx-jquants.com/)";
    return KeyResult::NotGiven;
}

bool storeApiKey(const std::string& key, std::string& problem) {
    std::string clean;
    if (!keyOfText(key, clean, problem)) {
        problem = "the key " + problem;
        return false;
    }
    const std::string path = userKeyFilePath();
    if (path.empty()) {
        problem = "no folder for the user's settings";
        return false;
    }
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    const std::string temporary = path + ".tmp";
    std::filesystem::remove(temporary, ec);
    if (!restrictToOwner(temporary) || !writeFileFlushed(temporary, clean + "\n") ||
        !replaceFile(temporary, path)) {
        std::filesystem::remove(temporary, ec);
        problem = path + ": cannot be written";
        return false;
    }
    return true;
}

}  // namespace zepa
