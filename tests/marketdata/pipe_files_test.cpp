// Files that are not regular files, named like the viewer's own: a pipe must not hang a read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "marketdata/correction_list.h"
#include "marketdata/installation_paths.h"
#include "marketdata/position_file.h"
#include "marketdata/price_database.h"

namespace zepa {
namespace {

namespace fs = std::filesystem;

TEST(PipeFiles, PipesCountAsFilesThatCannotBeOpened) {
    const fs::path root = fs::temp_directory_path() / "zepa_pipe_files_test";
    fs::remove_all(root);
    fs::create_directories(root / "ZEPAWIN" / "DATA");
    const InstallationPaths paths = makeInstallationPaths(root.string());
    ASSERT_EQ(mkfifo((root / "ZEPAWIN/DATA/DBW.001").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(paths.positionFile.c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(paths.correctionFile.c_str(), 0600), 0);

    MarketData md;
    md.dataDirectory = paths.dataDirectory;
    EXPECT_EQ(scanPriceDatabases(md), DataError::None);
    EXPECT_EQ(loadPriceDatabases(md), DataError::OpenFailed);

    PositionTable table;
    bool missing = false;
    EXPECT_EQ(readPositionFile(paths.positionFile, table, &missing), 0);
    EXPECT_TRUE(missing);
    CorrectionList list;
    loadCorrectionList(paths.correctionFile, list);
    EXPECT_EQ(list.correctionCount, 0);
    fs::remove_all(root);
}

}  // namespace
}  // namespace zepa
