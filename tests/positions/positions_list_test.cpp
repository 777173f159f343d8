// zepa_positions list with the held positions' figures: text columns, the totals line and the
// JSON objects scripts read.
#include <gtest/gtest.h>

#include "positions/position_line.h"
#include "tests/positions/positions_fixture.h"
#include "tools/positions/positions_run.h"

namespace zepa::test {
namespace {

class PositionsList : public PositionsFixture {
  protected:
    void SetUp() override {
        PositionsFixture::SetUp();
        PositionRecord missing{leg('T', 2222, 250303), leg('T', 9999, 250303)};
        missing.buy.quantity = missing.sell.quantity = 100;
        PositionRecord held{leg('T', 1111, 250303), leg('T', 2222, 250303)};
        held.buy.quantity = held.sell.quantity = 100;
        writeText(paths.positionFile, "# positions\r\n" + formatPositionLine(held) + "\r\n" +
                                          formatPositionLine(missing) + "\r\n");
        settings_.ratioPeriod = 5;
        settings_.deadlineDays = 400;  // 期日 called, the z levels out of reach
        settings_.exit = -99.0;
        settings_.stop = 99.0;
    }
    std::string list(bool json) {
        PositionsArgs args;
        args.root = root.string();
        args.json = json;
        std::string out;
        std::string err;
        EXPECT_EQ(runPositions(args, out, err, settings_), kPositionsOk) << err;
        return out;
    }
    OverviewSettings settings_;
};

TEST_F(PositionsList, TextRowsAndJsonCarryTheFiguresAndNullsWhereMissing) {
    const std::string text = list(false);
    // The held position across its split: 3,500 yen, 500 of it on the last day.
    for (const char* part :
         {"      +3500      +500   +2.33%    11d 2025-09-03   173d", "期日\n",
          "指定銘柄は登録されていません 売りの銘柄 T9999", "total  profit +3500  day +500  carry ",
          "(1 position, 1 left out)  合図: 期日 1\n"}) {
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    }
    const std::string json = list(true);
    ASSERT_EQ(json.substr(0, 2), "[\n");
    for (const char* part :
         {R"("quantity":100},"profit":3500,"day_change":500,"profit_rate":0.0233333333,)"
          R"("days_held":11,"deadline":"2025-09-03","days_left":173,"carry":)",
          R"("signals":["期日"]})",
          R"("profit":null,"day_change":null,"profit_rate":null,"days_held":null,)"
          R"("deadline":null,"days_left":null,"carry":null,"net":null,"z":null,)"
          R"("correlation":null,"half_life":null,"signals":[],"problem":"指定銘柄)"}) {
        EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
    }
}

}  // namespace
}  // namespace zepa::test
