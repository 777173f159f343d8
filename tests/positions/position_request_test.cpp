// A position asked for by codes, dates and quantities, checked against the price files.
#include <gtest/gtest.h>

#include <tuple>

#include "positions/position_request.h"
#include "tests/positions/positions_fixture.h"

namespace zepa::test {
namespace {

class PositionRequest : public PositionsFixture {
  protected:
    PositionDraft draft(std::string buy, std::string sell) const {
        PositionDraft d;
        d.buyCode = std::move(buy);
        d.sellCode = std::move(sell);
        d.buyQuantity = "100";
        d.sellQuantity = "200";
        return d;
    }
    PositionDraftOutcome make(const PositionDraft& d) { return makePosition(md_, {}, d); }
};

TEST_F(PositionRequest, CodesDatesAndNamesComeFromThePriceFiles) {
    PositionDraft d = draft("1111", "O3333");
    d.buyDate = 20250308;   // a Saturday: the first close after it, Monday 10th
    d.sellDate = 20250306;  // the first price of the late stock
    const PositionDraftOutcome out = make(d);
    ASSERT_TRUE(out.ok) << out.message;
    const PositionLeg& buy = out.record.buy;
    const PositionLeg& sell = out.record.sell;
    EXPECT_EQ(std::tuple(buy.marketLetter[0], buy.entryDate, out.buy.entryClose, buy.quantity),
              std::tuple('T', 250310, 520, 100));
    EXPECT_EQ(std::tuple(sell.marketLetter[0], sell.entryDate, out.sell.entryClose, sell.quantity),
              std::tuple('O', 250306, 300, 200));
    EXPECT_EQ(std::tuple(utf8FromCp932(buy.shortName), sell.shortName),
              std::tuple("北辰建", "LATE"));

    // Without a date: the newest; without a letter, Tokyo before Osaka.
    const PositionDraftOutcome newest = make(draft("4444", "O4444"));
    ASSERT_TRUE(newest.ok) << newest.message;
    EXPECT_EQ(
        std::tuple(newest.record.buy.entryDate, newest.buy.entryClose, newest.sell.entryClose),
        std::tuple(250314, 100, 200));
}

TEST_F(PositionRequest, AnAmountBuysWholeHundredsOfSharesAndAtLeastAHundred) {
    PositionDraft d = draft("2222", "4444");
    d.byAmount = true;
    const struct {
        const char* amount;
        int32_t buy;   // close 545
        int32_t sell;  // close 100
    } cases[] = {
        {"1000000", 1800, 10000}, {"54499", 100, 500}, {"1", 100, 100}, {"109000", 200, 1000}};
    for (const auto& c : cases) {
        d.amount = c.amount;
        const PositionDraftOutcome out = make(d);
        ASSERT_TRUE(out.ok) << out.message;
        EXPECT_EQ(out.record.buy.quantity, c.buy) << c.amount;
        EXPECT_EQ(out.record.sell.quantity, c.sell) << c.amount;
    }
}

TEST_F(PositionRequest, RefusedInputsSayWhy) {
    const auto refusal = [&](auto change) {
        PositionDraft d = draft("1111", "2222");
        change(d);
        const PositionDraftOutcome out = make(d);
        EXPECT_FALSE(out.ok);
        return out.message;
    };
    const struct {
        std::string message;
        const char* part;
    } cases[] = {
        {refusal([](PositionDraft& d) { d.buyCode = "9999"; }), "価格ファイルにありません"},
        {refusal([](PositionDraft& d) { d.sellCode = "N1111"; }), "価格ファイルにありません"},
        {refusal([](PositionDraft& d) { d.buyCode = "T123456"; }), "5桁まで"},
        {refusal([](PositionDraft& d) {
             d.sellCode = "O3333";
             d.sellDate = 20250305;
         }),
         "最初の価格の日 2025-03-06 より前"},
        {refusal([](PositionDraft& d) { d.buyDate = 20250317; }), "最新日 2025-03-14 より後"},
        {refusal([](PositionDraft& d) { d.buyQuantity = "0"; }), "株数"},
        {refusal([](PositionDraft& d) { d.sellQuantity = "1.5"; }), "株数"},
        {refusal([](PositionDraft& d) { d.sellQuantity = "1000000000"; }), "999999999"},
        {refusal([](PositionDraft& d) { d.sellQuantity = ""; }), "株数"},
        {refusal([](PositionDraft& d) {
             d.byAmount = true;
             d.amount = "0";
         }),
         "金額"},
        {refusal([](PositionDraft& d) { d.sellCode = "T1111"; }), "同じ銘柄"},
        {refusal([](PositionDraft& d) { d.sellCode = "t1111"; }), "同じ銘柄"},
    };
    for (const auto& c : cases) {
        EXPECT_NE(c.message.find(c.part), std::string::npos) << c.message;
    }
}

TEST(PositionDates, IsoDatesAndTheFileYears) {
    int32_t d = 0;
    EXPECT_TRUE(parseIsoDate("2024-02-29", d));
    EXPECT_EQ(d, 20240229);
    for (const char* bad : {"2025-02-29", "2025-13-01", "2025-1-01", "25-01-01", "", "x"}) {
        EXPECT_FALSE(parseIsoDate(bad, d)) << bad;
    }
    for (const int32_t date : {19991231, 20000101, 20691231}) {
        EXPECT_EQ(yyyymmddOf(yymmddOf(date)), date);
    }
}

}  // namespace
}  // namespace zepa::test
