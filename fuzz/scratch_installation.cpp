#include "fuzz/scratch_installation.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>

namespace zepa::fuzz {

namespace fs = std::filesystem;

namespace {

struct Owner {
    ScratchInstallation s;
    ~Owner() {
        std::error_code ec;
        fs::remove_all(s.root, ec);
    }
};

Owner makeOwner() {
    Owner o;
    std::string pattern = (fs::temp_directory_path() / "zepa_fuzz_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("zepa fuzz: no temporary folder");
        std::abort();
    }
    o.s.root = pattern;
    o.s.paths = makeInstallationPaths(pattern);
    fs::create_directories(o.s.paths.dataDirectory);
    return o;
}

}  // namespace

const ScratchInstallation& scratchInstallation() {
    static const Owner owner = makeOwner();
    return owner.s;
}

void clearDataFolder(const ScratchInstallation& s) {
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(s.paths.dataDirectory, ec)) {
        fs::remove_all(e.path(), ec);
    }
}

bool writeWholeFile(const std::string& path, std::string_view bytes) {
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), std::fclose);
    return f && std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
}

}  // namespace zepa::fuzz
