// Replays every kept input of each fuzz target: a fault a fuzzer once found stays fixed, and
// the seeds keep the harnesses themselves working between fuzzing runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/scratch_installation.h"
#include "fuzz/session_installation.h"
#include "fuzz/targets.h"
#include "fuzz/viewer_session.h"
#include "settings/memory_value_store.h"

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

// The harness itself: sound files must take a session to the chart, or the fuzzers would only
// ever exercise the empty window.
TEST(FuzzSession, SoundFilesReachTheChart) {
    const ScratchInstallation& s = scratchInstallation();
    clearDataFolder(s);
    writeFixedPriceFile(s);
    FuzzInput noChoices(nullptr, 0);
    writeSessionTexts(s, {std::begin(kFixedStocks), std::end(kFixedStocks)}, noChoices);
    // A 1,000 x 700 window, then Down and a repaint.
    const uint8_t events[] = {0xC0, 0x03, 0x94, 0x02, 20, 0, 10, 1, 11, 0xC0, 0x03, 0x94, 0x02, 20};
    FuzzInput in(events, sizeof events);
    MemoryValueStore store;
    EXPECT_EQ(runViewerSession(in, store), 2);
}

}  // namespace
}  // namespace zepa::fuzz
