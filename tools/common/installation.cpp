#include "tools/common/installation.h"

#include <filesystem>
#include <system_error>

namespace zepa {

LoadOutcome loadInstallation(const std::string& root, Installation& in) {
    in.paths = makeInstallationPaths(root);
    std::error_code ec;
    if (!std::filesystem::exists(in.paths.positionFile, ec)) {
        return LoadOutcome::PositionFileMissing;
    }
    in.md.dataDirectory = in.paths.dataDirectory;
    if (scanPriceDatabases(in.md) != DataError::None ||
        loadPriceDatabases(in.md) != DataError::None) {
        return LoadOutcome::DataError;
    }
    loadCorrectionList(in.paths.correctionFile, in.corrections);
    bool missing = false;
    readPositionFile(in.paths.positionFile, in.positions, &missing);
    return LoadOutcome::Loaded;
}

}  // namespace zepa
