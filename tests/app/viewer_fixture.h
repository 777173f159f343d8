// A viewer on a throwaway installation: price files from the price-database writer, a
// position file, a tip file, an in-memory store and the recording shell.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "app/frame_handlers.h"
#include "app/startup.h"
#include "settings/memory_value_store.h"
#include "tests/app/recording_shell.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {

inline constexpr int32_t kDates = 300;

// One position line in the file's fixed columns, both legs on the Tokyo market.
inline std::string positionLine(int buyCode, int sellCode) {
    char line[100];
    std::snprintf(line, sizeof line, "T%-7d %-9s %-9s %-9s T%-7d %-9s %-9s %-9s\n", buyCode, "BUY",
                  "230301", "100", sellCode, "SELL", "230301", "100");
    return line;
}

struct Viewer : ::testing::Test, TempInstallation {
    void SetUp() override {
        writePrices(1006);
        write(paths.tipFile, "# tips\nfirst tip\n");
        shell.view = &a.view;
        a.clockSeconds = [] { return int64_t{1700000000}; };
    }
    // Stocks 1001..lastCode on kDates dates (20 a month from 2022): 1001..1006 trade on every
    // date, 1007 and 1008 only from date 290 on.
    void writePrices(int lastCode) {
        DbwFile file;
        for (int i = 0; i < kDates; ++i) {
            file.dates.push_back(PackedDate{static_cast<uint8_t>(52 + i / 240),
                                            static_cast<uint8_t>(1 + i / 20 % 12),
                                            static_cast<uint8_t>(1 + i % 20)});
        }
        for (int code = 1001; code <= lastCode; ++code) {
            std::vector<int32_t> closes;
            for (int i = 0; i < kDates; ++i) {
                closes.push_back(code >= 1007 && i < 290 ? 0 : code + i % 40 * (code % 2 + 1));
            }
            file.stocks.push_back(stock(tokyo(code), "STOCK" + std::to_string(code), closes));
        }
        ASSERT_TRUE(writePriceDatabase(dataFile("DBW.001"), file));
    }

    // A second price file with five later dates for 1001..1006, each close its code + offset.
    void writeLaterPrices(const std::array<int32_t, 5>& offsets) {
        DbwFile later;
        later.dates = weekdays(2023, 4, 3, 5);
        for (int code = 1001; code <= 1006; ++code) {
            std::vector<int32_t> closes;
            for (const int32_t o : offsets) {
                closes.push_back(code + o);
            }
            later.stocks.push_back(stock(tokyo(code), "STOCK" + std::to_string(code), closes));
        }
        writeDb("DBW.002", later);
    }

    static void write(const std::string& path, std::string_view bytes) { writeText(path, bytes); }
    // Start-up, window creation and the first paint, with the given position file.
    void open(const std::string& positionFile) {
        write(paths.positionFile, positionFile);
        ASSERT_EQ(startViewer(a, root.string(), store), StartupOutcome::Ready);
        onCreate(a, shell);
        paint();
    }
    // Three positions: 1001/1002, 1003/1004, 1005/1006.
    void openThree() {
        open(positionLine(1001, 1002) + positionLine(1003, 1004) + positionLine(1005, 1006));
    }
    void paint() { onPaint(a, shell, shell.surface, 800, 600, 20); }
    void key(int virtualKey, bool ctrl = false) { onKey(a, shell, virtualKey, ctrl); }
    void press(int commandId) { onCommand(a, shell, commandId); }

    MemoryValueStore store;
    AppContext a;
    RecordingShell shell;
};

}  // namespace zepa::test
