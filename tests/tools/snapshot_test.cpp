// zepa_snapshot from the outside: a picture of the chart area and the layout it used.
#include <gtest/gtest.h>

#include <QImage>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/dbw_writer.h"

namespace zepa {
namespace {

namespace fs = std::filesystem;

int run(const std::string& arguments, std::string& out) {
    std::string command = std::string(ZEPA_SNAPSHOT_PATH) + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        out.append(buffer.data(), n);
    }
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(Snapshot, WritesTheChartAreaAndItsLayout) {
    const fs::path root = fs::temp_directory_path() / "zepa_snapshot_test";
    fs::remove_all(root);
    fs::create_directories(root / "ZEPAWIN" / "DATA");
    DbwFile file;
    DbwStock a{100001001, "A", {}}, b{100001002, "B", {}};
    for (int d = 0; d < 30; ++d) {
        file.dates.push_back(PackedDate{55, 3, static_cast<uint8_t>(1 + d)});
        a.records.push_back(DbwRecord{100 + d, 105 + d, 95 + d, 101 + d, 1000, 0});
        b.records.push_back(DbwRecord{300 - d, 305 - d, 295 - d, 299 - d, 1000, 0});
    }
    file.stocks = {a, b};
    ASSERT_TRUE(writePriceDatabase((root / "ZEPAWIN/DATA/DBW.001").string(), file));
    std::ofstream(root / "ZEPAWIN" / "ZEPA_SPW.DAT")
        << "T1001    A         250305    100       T1002    B         250305    100\n";

    const std::string png = (root / "out.png").string();
    std::string out;
    ASSERT_EQ(run("--root " + root.string() + " --defaults --size 640x400 --layout " + png, out),
              0);
    EXPECT_NE(out.find("\"chartArea\":[0,30,640,430]"), std::string::npos) << out;
    EXPECT_NE(out.find("\"firstShownBar\":0,\"lastShownBar\":29"), std::string::npos) << out;
    QImage image(QString::fromStdString(png));
    EXPECT_EQ(image.width(), 640);
    EXPECT_EQ(image.height(), 400);

    std::string ignored;
    EXPECT_EQ(run("--root " + root.string() + " --position 3 " + png, ignored), 2);
    EXPECT_EQ(run("--size 0x10 " + png, ignored), 2);
    fs::remove(root / "ZEPAWIN" / "ZEPA_SPW.DAT");
    EXPECT_EQ(run("--root " + root.string() + " " + png, ignored), 1);
    fs::remove_all(root);
}

}  // namespace
}  // namespace zepa
