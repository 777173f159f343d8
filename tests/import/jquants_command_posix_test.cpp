// zepa_import --jquants as a process against the local server.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/jquants/fake_jquants.h"
#include "tests/support/run_tool.h"
#include "tests/support/temp_installation.h"

namespace zepa {
namespace {

using namespace test;

// The command's exit code and everything it printed, both streams.
int runCommand(const std::string& command, std::string& output) {
    return runTool("(" + command + " 2>&1)", &output);
}

TEST(JQuantsCommand, FetchesWithTheKeyFromTheEnvironmentOrAPrivateKeyFile) {
    FakeJQuants fake;
    fake.bars[20240104] = {barRow("2024-01-04", "72030", "2000", "2050", "1990", "2020", "1000")};
    fake.bars[20240105] = {barRow("2024-01-05", "72030", "2010", "2060", "2000", "2030", "1000")};
    LocalHttpServer server([&](const ServedRequest& r) { return fake(r); });
    TempInstallation root;
    const std::string tool = std::string(ZEPA_IMPORT_PATH) + " --jquants --root " +
                             root.root.string() + " --rate 10000 --api-base " + server.base() +
                             "/v2 --to 2024-01-05";
    std::string output;
    EXPECT_EQ(
        runCommand("JQUANTS_API_KEY=" + std::string(kTestKey) + " " + tool + " --from 2024-01-04",
                   output),
        0)
        << output;
    EXPECT_NE(output.find("day 2 of 2: 2024-01-05"), std::string::npos) << output;
    EXPECT_NE(output.find("2 of 2 trading days from 2024-01-04 to 2024-01-05 written"),
              std::string::npos)
        << output;

    const std::string keyFile = (root.root / "key.txt").string();
    TempInstallation::writeText(keyFile, std::string(kTestKey) + "\n");
    ::chmod(keyFile.c_str(), 0644);
    std::string refused;
    EXPECT_EQ(runCommand("JQUANTS_API_KEY= " + tool + " --key-file " + keyFile, refused), 1);
    EXPECT_NE(refused.find("others can read the key file"), std::string::npos) << refused;

    ::chmod(keyFile.c_str(), 0600);
    std::string upToDate;
    EXPECT_EQ(runCommand("JQUANTS_API_KEY= " + tool + " --key-file " + keyFile, upToDate), 0)
        << upToDate;
    EXPECT_NE(upToDate.find("up to date through 2024-01-05"), std::string::npos) << upToDate;

    std::string wrongKey;
    EXPECT_EQ(runCommand("JQUANTS_API_KEY=WRONG-key-S3CRET " + tool +
                             " --from 2024-01-04 --to "
                             "2024-01-06",
                         wrongKey),
              1);
    EXPECT_NE(wrongKey.find("HTTP 401"), std::string::npos) << wrongKey;
    for (const std::string* text : {&output, &refused, &upToDate, &wrongKey}) {
        EXPECT_EQ(text->find("S3CRET"), std::string::npos) << *text;
    }
}

}  // namespace
}  // namespace zepa
