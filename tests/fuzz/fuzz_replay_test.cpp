// Replays every kept input of each fuzz target: a fault a fuzzer once found stays fixed, and
// the seeds keep the harnesses themselves working between fuzzing runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/targets.h"

namespace zepa::fuzz {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputsOf(std::string_view target) {
    std::vector<fs::path> out;
    std::stringstream dirs(ZEPA_FUZZ_INPUT_DIRS);
    for (std::string dir; std::getline(dirs, dir, ':');) {
        std::error_code ec;
        for (const fs::directory_entry& e : fs::directory_iterator(fs::path(dir) / target, ec)) {
            if (e.is_regular_file()) {
                out.push_back(e.path());
            }
        }
    }
    return out;
}

class FuzzReplay : public ::testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzReplay, EveryKeptInputRunsClean) {
    const std::vector<fs::path> inputs = inputsOf(GetParam().name);
    EXPECT_FALSE(inputs.empty()) << "no seeds for " << GetParam().name;
    for (const fs::path& p : inputs) {
        SCOPED_TRACE(p.string());
        std::ifstream in(p, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(GetParam().run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(kFuzzTargets),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zepa::fuzz
