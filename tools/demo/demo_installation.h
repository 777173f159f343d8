// Writes a complete demo installation <root>/ZEPAWIN that the viewer opens as it is.
#pragma once

#include <cstdint>
#include <string>

namespace zepa {

inline constexpr uint64_t kDefaultDemoSeed = 20261204;

enum class DemoWriteResult {
    Written,
    AlreadyExists,  // <root>/ZEPAWIN is there and overwriting was not asked for
    Failed,
};

struct DemoWriteOutcome {
    DemoWriteResult result = DemoWriteResult::Failed;
    std::string detail;  // the path concerned, for the message
};

// With force, the files are written over and price files of an earlier installation that
// would mix with the new ones are removed; nothing else in the folder is touched.
DemoWriteOutcome writeDemoInstallation(const std::string& root, uint64_t seed, bool force);

}  // namespace zepa
