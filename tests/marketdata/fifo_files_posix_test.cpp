// Pipes where the viewer expects its files: POSIX only, since Windows has no named pipes in a
// folder.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "marketdata/correction_list.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {
namespace {

using PriceFiles = Installation;

TEST_F(PriceFiles, PipesNamedLikeTheViewersFilesCannotBeOpened) {
    // A read from a pipe would wait for a writer that never comes.
    for (const std::string& path : {dataFile("DBW.1"), paths.positionFile, paths.correctionFile}) {
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0) << path;
    }
    EXPECT_EQ(scanPriceDatabases(md_), DataError::None);
    EXPECT_EQ(loadPriceDatabases(md_), DataError::OpenFailed);
    PositionTable table;
    bool missing = false;
    EXPECT_EQ(readPositionFile(paths.positionFile, table, &missing), 0);
    EXPECT_TRUE(missing);
    CorrectionList list;
    loadCorrectionList(paths.correctionFile, list);
    EXPECT_EQ(list.correctionCount, 0);
}

}  // namespace
}  // namespace zepa::test
