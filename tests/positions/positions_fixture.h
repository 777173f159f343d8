// Price files for writing and closing positions: ten weekdays from 2025-03-03 (Monday) to
// 2025-03-14, a stock that splits 1:2 on 2025-03-10, one listed from 2025-03-06, one code on
// two markets.
#pragma once

#include <string>
#include <vector>

#include "base/codepage.h"
#include "positions/position_file_edit.h"
#include "tests/support/temp_installation.h"

namespace zepa::test {

class PositionsFixture : public Installation {
  protected:
    void SetUp() override {
        std::vector<DbwRecord> split =
            records({1000, 1010, 1020, 1030, 1040, 520, 525, 530, 535, 540});
        split[5].adjustment = 50;
        writeDb("DBW.001",
                dbw(weekdays(2025, 3, 3, 10),
                    {DbwStock{tokyo(1111), cp932FromUtf8("北辰建設"), split},
                     DbwStock{tokyo(2222), "SELLCO",
                              records({500, 505, 510, 515, 520, 525, 530, 535, 540, 545})},
                     DbwStock{200000000 + 3333, "LATE",
                              records({0, 0, 0, 300, 310, 320, 330, 340, 350, 360})},
                     DbwStock{tokyo(4444), "TOKYO4",
                              records({100, 100, 100, 100, 100, 100, 100, 100, 100, 100})},
                     DbwStock{200000000 + 4444, "OSAKA4",
                              records({200, 200, 200, 200, 200, 200, 200, 200, 200, 200})}}));
        load();
        TempInstallation::writeText(paths.positionFile, "# positions\r\n");
    }

    PositionFileSnapshot snapshot() const {
        PositionFileSnapshot s;
        EXPECT_TRUE(takePositionSnapshot(paths.positionFile, s));
        return s;
    }
    static std::string read(const std::string& path) {
        PositionFileSnapshot s;
        takePositionSnapshot(path, s);
        return s.bytes;
    }
};

}  // namespace zepa::test
