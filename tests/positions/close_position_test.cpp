// Closing a position: the realised profit across a split, the order of the two writes, and the
// record of closed trades read back and totalled.
#include <gtest/gtest.h>

#include <cmath>

#include "positions/close_position.h"
#include "positions/closed_trades_table.h"
#include "positions/position_line.h"
#include "tests/positions/positions_fixture.h"

namespace zepa::test {
namespace {

class ClosePosition : public PositionsFixture {
  protected:
    // T1111 (splits 1:2 on the 10th) bought and T2222 sold on `entry`, 100 and 300 shares.
    static PositionRecord position(int32_t entry = 250303) {
        PositionLeg buy = leg('T', 1111, entry);
        PositionLeg sell = leg('T', 2222, entry);
        buy.quantity = 100;
        sell.quantity = 300;
        buy.shortName = "BUY";
        sell.shortName = "SELL";
        return recordAsRead(PositionRecord{buy, sell});
    }
    CloseOutcome preview(CloseRequest r, int32_t entry = 250303) {
        return previewClose(md_, {}, position(entry), r);
    }
    std::string closedPath() const { return closedTradesPath(paths); }
};

// The textbook figure: per leg, shares held now (quantity / F) times the exit price less what
// they cost; the sell leg reversed.
double textbook(double quantity, double entry, double exit, double f, bool sell) {
    const double yen = quantity * (exit / f - entry);
    return sell ? -yen : yen;
}

TEST_F(ClosePosition, TheRealisedProfitCountsTheSplitSinceEntry) {
    const struct {
        int32_t exitDate;
        std::optional<int64_t> buyPrice;
        std::optional<int64_t> sellPrice;
        int32_t closeDate;
        double buyExit, sellExit, f;
    } cases[] = {
        {0, {}, {}, 20250314, 540, 545, 0.5},          // the newest close, after the split
        {20250308, {}, {}, 20250307, 1040, 520, 1.0},  // a Saturday: Friday's close
        {20250310, {}, {}, 20250310, 520, 525, 0.5},   // the ex-date itself
        {0, 533, 499, 20250314, 533, 499, 0.5},        // prices typed in
    };
    for (const auto& c : cases) {
        const CloseOutcome out = preview({0, c.exitDate, c.buyPrice, c.sellPrice, ""});
        ASSERT_TRUE(out.ok) << out.message;
        const ClosedTrade& t = out.trade;
        EXPECT_EQ(t.closeDate, c.closeDate);
        EXPECT_EQ(t.buy.exitPrice, c.buyExit);
        EXPECT_EQ(t.sell.exitPrice, c.sellExit);
        const double buy = textbook(100, 1000, c.buyExit, c.f, false);
        const double sell = textbook(300, 500, c.sellExit, 1.0, true);
        EXPECT_NEAR(t.buy.profit, buy, 0.5) << c.closeDate;
        EXPECT_NEAR(t.sell.profit, sell, 0.5);
        EXPECT_NEAR(t.profit, buy + sell, 0.5);
    }
}

TEST_F(ClosePosition, ExitsBeforeTheEntryAndBadPricesAreRefused) {
    EXPECT_FALSE(preview({0, 20250307, {}, {}, ""}, 250310).ok);
    EXPECT_FALSE(preview({0, 0, 0, {}, ""}).ok);
    EXPECT_FALSE(preview({0, 0, {}, -5, ""}).ok);
    EXPECT_FALSE(preview({0, 0, int64_t{1000000000}, {}, ""}).ok);
}

TEST_F(ClosePosition, AStopBetweenTheTwoWritesLosesNothingAndRecordsOnce) {
    // Then a position entered later, and another lot of the same legs on the same day.
    PositionRecord lot = position();
    lot.buy.quantity = 200;
    const std::string second =
        formatPositionLine(position(250305)) + "\r\n" + formatPositionLine(lot);
    const std::string file =
        "# mine\r\n" + formatPositionLine(position()) + "\r\n" + second + "\r\n";
    TempInstallation::writeText(paths.positionFile, file);
    CloseRequest request{0, 20250312, {}, {}, "first try"};

    // Killed after the record: the trade is in both files.
    CloseOutcome out = closePosition(md_, {}, snapshot(), closedPath(), request, {true});
    ASSERT_TRUE(out.ok) << out.message;
    EXPECT_EQ(read(paths.positionFile), file);
    ClosedTradesFile closed;
    ASSERT_TRUE(readClosedTrades(closedPath(), closed));
    ASSERT_EQ(closed.trades.size(), 1u);

    // Closed again: the record is found, the line goes.
    request.note = "second try";
    out = closePosition(md_, {}, snapshot(), closedPath(), request);
    ASSERT_TRUE(out.ok) << out.message;
    EXPECT_TRUE(out.alreadyRecorded);
    EXPECT_EQ(read(paths.positionFile), "# mine\r\n" + second + "\r\n");
    ASSERT_TRUE(readClosedTrades(closedPath(), closed));
    ASSERT_EQ(closed.trades.size(), 1u);
    EXPECT_EQ(closed.trades[0].note, "first try");

    // The other two, closed the same day: each a trade of its own.
    for (size_t trades : {2u, 3u}) {
        out = closePosition(md_, {}, snapshot(), closedPath(), request);
        ASSERT_TRUE(out.ok) << out.message;
        EXPECT_FALSE(out.alreadyRecorded);
        ASSERT_TRUE(readClosedTrades(closedPath(), closed));
        EXPECT_EQ(closed.trades.size(), trades);
    }
    EXPECT_EQ(read(paths.positionFile), "# mine\r\n");
}

TEST_F(ClosePosition, NothingIsWrittenWhenThePositionFileChanged) {
    TempInstallation::writeText(paths.positionFile, formatPositionLine(position()) + "\n");
    const PositionFileSnapshot before = snapshot();
    TempInstallation::writeText(paths.positionFile, "# edited elsewhere\n");
    const CloseOutcome out =
        closePosition(md_, {}, before, closedPath(), CloseRequest{0, 0, {}, {}, ""});
    EXPECT_FALSE(out.ok);
    EXPECT_EQ(out.message, positionFileChangedMessage());
    EXPECT_FALSE(std::filesystem::exists(closedPath()));
}

TEST(ClosedTrades, RecordsReadBackWithAwkwardTextsAndBadLinesAreListed) {
    ClosedTrade t;
    t.closeDate = 20250314;
    t.buy = {'T', 7203, "トヨタ,\"A\"", 20250303, 100, 1000, 1100, 10000};
    t.sell = {'o', 1, "=cmd|' /C calc'!A0", 20250303, 200, 500, 490, -2000};
    t.profit = 8000;
    t.note = "-1+2\r\nline";
    const std::string line = closedTradeLine(t);
    EXPECT_NE(line.find(",'=cmd"), std::string::npos);
    const ClosedTradesFile file = parseClosedTrades(
        "\xEF\xBB\xBF"
        "決済日,x\r\n" +
        line + "junk\r\n\r\n" + line.substr(0, 20) + "\n\"open,quote\n");
    ASSERT_EQ(file.trades.size(), 1u);
    const ClosedTrade& r = file.trades[0];
    EXPECT_TRUE(sameClosedTrade(r, t));
    EXPECT_EQ(r.buy.name, t.buy.name);
    EXPECT_EQ(r.sell.name, t.sell.name);
    EXPECT_EQ(r.note, "-1+2  line");
    EXPECT_EQ(r.sell.profit, -2000);
    EXPECT_EQ(r.profit, 8000);
    EXPECT_EQ(file.badLines, (std::vector<int>{3, 5, 6}));
}

TEST(ClosedTrades, CostsAtTheLineEndAndOlderLinesWithoutThemStillRead) {
    ClosedTrade t;
    t.closeDate = 20250314;
    t.buy = {'T', 1111, "A", 20250303, 100, 1000, 1080, 8000};
    t.sell = {'T', 2222, "B", 20250303, 100, 500, 545, -4500};
    t.profit = 3500;
    t.carry = 129;
    t.net = 3371;
    const std::string line = closedTradeLine(t);
    EXPECT_EQ(line.substr(line.size() - 12), ",,129,3371\r\n");
    const std::string older =
        "2025-03-14,T,7203,X,2025-03-03,100,1000,1100,10000,"
        "T,6758,Y,2025-03-03,100,500,500,0,10000,memo\r\n";
    std::string bad = line;  // a cost that is no number
    bad.replace(bad.find(",129,"), 5, ",x,");
    const ClosedTradesFile file = parseClosedTrades(line + older + bad);
    ASSERT_EQ(file.trades.size(), 2u);
    EXPECT_EQ((std::vector{file.trades[0].carry, file.trades[0].net}),
              (std::vector<std::optional<int64_t>>{129, 3371}));
    EXPECT_FALSE(file.trades[1].carry || file.trades[1].net);
    EXPECT_EQ(file.trades[1].note, "memo");
    EXPECT_EQ(file.badLines, (std::vector<int>{3}));

    // The window's table: the costs beside the profit, blank for the older line.
    const TextTable table = closedTradesTable(file.trades);
    EXPECT_EQ((std::vector{table.header[3], table.header[4], table.rows[0][3], table.rows[0][4],
                           table.rows[1][3], table.rows[1][4]}),
              (std::vector<std::string>{"金利・貸株料", "実質損益", "129", "3371", "", ""}));
}

TEST_F(ClosePosition, RecordsTheCarryToTheExitAndTheNetProfit) {
    PositionRecord p{leg('T', 1111, 250303), leg('T', 2222, 250303)};
    p.buy.quantity = p.sell.quantity = 100;
    CloseRequest request;
    request.buyRate = 0.028;
    request.borrowRate = 0.0115;
    const CloseOutcome out = previewClose(md_, {}, p, request);
    ASSERT_TRUE(out.ok) << out.message;
    // Settled 03-05 to 03-18 (the newest date 03-14 settles two weekdays past the data).
    const double carry = (100.0 * 1000 * 0.028 + 100.0 * 500 * 0.0115) * 14 / 365;
    EXPECT_EQ(out.trade.carry, std::llround(carry));
    EXPECT_EQ(out.trade.net, std::llround(3500 - carry));
    // Closed on 03-07, settling 03-11: 7 days.
    request.exitDate = 20250307;
    const CloseOutcome early = previewClose(md_, {}, p, request);
    EXPECT_EQ(early.trade.carry,
              std::llround((100.0 * 1000 * 0.028 + 100.0 * 500 * 0.0115) * 7 / 365));
}

TEST(ClosedTrades, TotalsPerMonthYearAndOverall) {
    const auto trade = [](int32_t date, int64_t profit) {
        ClosedTrade t;
        t.closeDate = date;
        t.profit = profit;
        return t;
    };
    const ClosedTotals totals =
        closedTotals({trade(20250314, 1000), trade(20241231, -300), trade(20250301, 250),
                      trade(20250401, INT64_MAX), trade(20250402, 5)});
    const auto periods = [](const std::vector<ProfitTotal>& v) {
        return column(v, [](const ProfitTotal& p) { return std::pair(p.period, p.profit); });
    };
    using P = std::vector<std::pair<int32_t, int64_t>>;
    EXPECT_EQ(periods(totals.months), (P{{202412, -300}, {202503, 1250}, {202504, INT64_MAX}}));
    EXPECT_EQ(periods(totals.years), (P{{2024, -300}, {2025, INT64_MAX}}));
    EXPECT_EQ(totals.overall.profit, INT64_MAX);
    EXPECT_EQ(totals.overall.trades, 5);
}

}  // namespace
}  // namespace zepa::test
