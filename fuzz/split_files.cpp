#include "fuzz/fuzz_input.h"

namespace zepa::fuzz {

std::vector<std::string_view> splitFiles(FuzzInput& in, size_t maxFiles) {
    std::vector<std::string_view> files;
    while (!in.empty() && files.size() + 1 < maxFiles) {
        files.push_back(in.until(kFileSeparator));
    }
    if (!in.empty() || files.empty()) {
        files.push_back(in.rest());
    }
    return files;
}

}  // namespace zepa::fuzz
