#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <tuple>

#include "app/backtest_table.h"
#include "app/pair_search_job.h"
#include "app/position_forms.h"
#include "base/codepage.h"
#include "chart/info_panel.h"
#include "settings/chart_values.h"
#include "tests/app/reverting_market.h"
#include "tests/app/viewer_fixture.h"

namespace zepa {
namespace {

using test::positionLine;
using test::Viewer;

TEST(PairSearchSettings, DefaultsAndRoundTrip) {
    const PairSearchSettings d = defaultPairSearchSettings();
    EXPECT_EQ(formatPairScreenValue(d), "250,75,25,-1,0,0,,,0.7,0.5,0.05,,1,60,,100,0");
    EXPECT_EQ(formatPairRuleValue(d), "2,0,3.5,180,1000000,0,0,0.028,0.0115");

    MemoryValueStore store;
    PairSearchSettings s = d;
    // The windows' fields in their units; 0 turns a filter off, one beyond its range is left.
    const std::pair<PairField, double> shown[] = {
        {PairField::Days, 500},     {PairField::MinTurnover, 100}, {PairField::MaxP, 0},
        {PairField::MaxQ, 0.1},     {PairField::MinAbsZ, 1.5},     {PairField::Entry, 2.5},
        {PairField::Amount, 50},    {PairField::BuyRate, 3},       {PairField::Stop, 101},
        {PairField::ShortDays, 7.5}};
    for (const auto& [field, value] : shown) {
        setPairField(s, field, value);
    }
    EXPECT_DOUBLE_EQ(pairFieldValue(s, PairField::BorrowRate), 1.15);  // percent
    s.screen.sector = 33;
    s.marketCode = 1;
    s.withBacktest = true;
    s.rule.fill = BacktestFill::Close;
    savePairSearchSettings(store, s);
    const PairSearchSettings back = loadPairSearchSettings(store);
    EXPECT_EQ(formatPairScreenValue(back),
              "500,75,25,1,33,0,100000000,,0.7,0.5,,0.1,1,60,1.5,100,1");
    EXPECT_EQ(formatPairRuleValue(back), "2.5,0,3.5,180,500000,1,0,0.03,0.0115");
    // Nothing else of the store is written.
    EXPECT_EQ(store.values.size(), 2u);

    // Every choice of the windows' drop-down lists is stored and comes back as that choice.
    for (size_t i = 0; i < std::size(kPairMarketChoices); ++i) {
        s.marketCode = kPairMarketChoices[i].value;
        s.screen.sector = kPairSectorChoices[i % std::size(kPairSectorChoices)].value;
        savePairSearchSettings(store, s);
        const PairSearchSettings b = loadPairSearchSettings(store);
        EXPECT_EQ(pairChoiceIndex(kPairMarketChoices, b.marketCode), static_cast<int>(i));
        EXPECT_EQ(pairChoiceIndex(kPairSectorChoices, b.screen.sector),
                  static_cast<int>(i % std::size(kPairSectorChoices)));
    }
    EXPECT_EQ(pairChoiceValue(kPairMarketChoices, -1), -1);  // no selection: every market
    EXPECT_EQ(pairChoiceIndex(kPairSectorChoices, 5), 0);
}

TEST(PairSearchSettings, BadFieldsKeepTheDefaults) {
    MemoryValueStore store;
    // Window below its least, a short window beyond the window, a market without a letter, an
    // industry that is none, a correlation beyond 1, words, a missing tail.
    store.set(kChartSubkey, "PairScreen", "5,251,25,4,20,1,x,,1.5,0.4");
    store.set(kChartSubkey, "PairRule", "-2,0,3,0,abc");
    const PairSearchSettings s = loadPairSearchSettings(store);
    EXPECT_EQ(s.screen.days, 250);
    EXPECT_EQ(s.screen.shortDays, 75);  // 251 > 250: the default proportion
    EXPECT_EQ(s.marketCode, -1);
    EXPECT_EQ(s.screen.sector, 0);
    EXPECT_TRUE(s.screen.borrowable);
    EXPECT_FALSE(s.screen.minPrice.has_value());
    EXPECT_EQ(s.screen.minCorrelation, 0.7);
    EXPECT_EQ(s.screen.minShortCorrelation, 0.4);
    EXPECT_EQ(s.screen.maxP, 0.05);  // absent: kept
    EXPECT_EQ(s.rule.entry, 2.0);
    EXPECT_EQ(s.rule.stop, 3.0);
    EXPECT_EQ(s.rule.maxDays, 180);
    EXPECT_EQ(s.rule.amount, 1000000.0);
    PairSearchSettings wrong = s;
    wrong.withBacktest = true;
    wrong.rule.stop = 1.5;
    EXPECT_NE(pairSearchSettingsProblem(wrong), "");
    EXPECT_EQ(pairSearchSettingsProblem(s), "");
}

TEST(PairSearchSettings, FieldsOutOfRangeAreRefusedByName) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        PairField field;
        std::optional<double> shown;
        const char* message;  // "" when taken
    } cases[] = {
        {PairField::Days, 10, "期間は 20〜1500 の整数にして下さい"},
        {PairField::Days, 1501, "期間は 20〜1500 の整数にして下さい"},
        {PairField::Days, 120.5, "期間は 20〜1500 の整数にして下さい"},
        {PairField::Days, std::nullopt, "期間は 20〜1500 の整数にして下さい"},
        {PairField::RatioPeriod, 4, "レシオ期間は 5〜250 の整数にして下さい"},
        {PairField::MaxP, 1.5, "pは 0〜1 の数値（0 か空欄は条件なし）にして下さい"},
        {PairField::MaxP, nan, "pは 0〜1 の数値（0 か空欄は条件なし）にして下さい"},
        {PairField::Entry, 0, "仕掛け |Z|は 0.01〜100 の数値にして下さい"},
        {PairField::Commission, 101, "手数料は 0〜100 の数値にして下さい"},
        {PairField::MaxP, std::nullopt, ""},  // an empty filter is off
        {PairField::MaxP, 0, ""},
        {PairField::Exit, -0.5, ""},
    };
    for (const auto& c : cases) {
        PairSearchSettings s = defaultPairSearchSettings();
        std::array<std::optional<double>, kPairFieldCount> shown;
        for (int f = 0; f < kPairFieldCount; ++f) {
            shown[static_cast<size_t>(f)] = pairFieldValue(s, static_cast<PairField>(f));
        }
        shown[static_cast<size_t>(c.field)] = c.shown;
        const PairSearchSettings before = s;
        EXPECT_EQ(readPairFields(s, shown), c.message) << pairFieldName(c.field);
        if (*c.message != '\0') {
            EXPECT_EQ(formatPairScreenValue(s), formatPairScreenValue(before));
            EXPECT_EQ(formatPairRuleValue(s), formatPairRuleValue(before));
        } else if (c.shown) {
            EXPECT_DOUBLE_EQ(pairFieldValue(s, c.field), *c.shown);
        } else {
            EXPECT_FALSE(s.screen.maxP.has_value());
        }
    }
}

PairSearchRow row(int32_t rank, int32_t a, double correlation, std::optional<double> p,
                  std::optional<double> z) {
    PairSearchRow r;
    r.rank = rank;
    r.aCode = a;
    r.bCode = a + 1;
    r.aName = "A" + std::to_string(a);
    r.bName = "B";
    r.correlation = correlation;
    r.p = p;
    r.z = z;
    return r;
}

PairSearchRow backtestedRow() {
    PairSearchRow r = row(0, 7203, 0.87345, 0.0123456, -2.345);
    r.q = 0.00004;
    BacktestStats s;
    s.trades = 8;
    s.winRate = 0.625;
    s.net = -1234567;
    s.maxDrawdown = 2345678;
    s.averageHolding = 11.26;
    r.stats = s;
    return r;
}

std::vector<int32_t> codes(const PairSearchTable& t) {
    std::vector<int32_t> out;
    for (const PairSearchRow& r : t.rows) {
        out.push_back(r.aCode);
    }
    return out;
}

TEST(PairSearchTable, HeaderClicksSortAndReverseWithMissingLast) {
    PairSearchTable t;
    t.rows = {row(0, 10, 0.80, 0.01, -2.5), row(1, 20, 0.95, std::nullopt, 1.0),
              row(2, 30, 0.70, 0.001, std::nullopt), row(3, 40, 0.95, 0.02, 3.0)};
    for (const auto& [k, days] : {std::pair{0, 30.0}, {1, 5.0}, {3, 12.0}}) {
        t.rows[k].halfLife = days;
    }
    clickPairHeader(t, PairColumn::Correlation);  // highest first, ties in the screen's order
    EXPECT_EQ(codes(t), (std::vector<int32_t>{20, 40, 10, 30}));
    clickPairHeader(t, PairColumn::Correlation);
    EXPECT_EQ(codes(t), (std::vector<int32_t>{30, 10, 20, 40}));
    clickPairHeader(t, PairColumn::P);  // lowest first, none last
    EXPECT_EQ(codes(t), (std::vector<int32_t>{30, 10, 40, 20}));
    clickPairHeader(t, PairColumn::P);  // reversed, none still last
    EXPECT_EQ(codes(t), (std::vector<int32_t>{40, 10, 30, 20}));
    clickPairHeader(t, PairColumn::Z);  // by |Z|
    EXPECT_EQ(codes(t), (std::vector<int32_t>{40, 10, 20, 30}));
    clickPairHeader(t, PairColumn::HalfLife);  // the fastest to revert first
    EXPECT_EQ(codes(t), (std::vector<int32_t>{20, 40, 10, 30}));
    clickPairHeader(t, PairColumn::AName);
    EXPECT_EQ(codes(t), (std::vector<int32_t>{10, 20, 30, 40}));
    t.sortColumn.reset();
    sortPairRows(t);
    EXPECT_EQ(codes(t), (std::vector<int32_t>{10, 20, 30, 40}));
    // The win rate of a pair backtested without a trade is missing, not 0: last either way.
    for (const auto& [k, trades, rate] : {std::tuple{0, 8, 0.5}, {1, 0, 0.0}, {3, 4, 0.75}}) {
        t.rows[static_cast<size_t>(k)].stats = BacktestStats{.trades = trades, .winRate = rate};
    }
    clickPairHeader(t, PairColumn::WinRate);
    EXPECT_EQ(codes(t), (std::vector<int32_t>{40, 10, 20, 30}));
    clickPairHeader(t, PairColumn::WinRate);
    EXPECT_EQ(codes(t), (std::vector<int32_t>{10, 40, 20, 30}));
}

TEST(PairSearchTable, CellsAndColumns) {
    PairSearchRow r = backtestedRow();
    r.beta = 1.23456;
    r.t = -4.5678;
    r.halfLife = 12.34;
    r.sector = "輸送用機器";
    const std::vector<std::pair<PairColumn, std::string>> cells = {
        {PairColumn::Sector, "輸送用機器"}, {PairColumn::Correlation, "0.873"},
        {PairColumn::Beta, "1.235"},        {PairColumn::T, "-4.57"},
        {PairColumn::P, "0.0123"},          {PairColumn::Q, "4.0e-05"},
        {PairColumn::HalfLife, "12.3"},     {PairColumn::Z, "-2.35"},
        {PairColumn::WinRate, "62.5%"},     {PairColumn::Net, "-1,234,567"},
        {PairColumn::ProfitFactor, "--"},   {PairColumn::AverageHolding, "11.3"},
    };
    for (const auto& [column, text] : cells) {
        EXPECT_EQ(pairCell(r, column), text) << pairColumnHeader(PairSearchTable{}, column);
    }
    // p and q below 0.001 in powers of ten, from it on in decimals.
    for (const auto& [p, text] :
         {std::pair{0.001, "0.0010"}, {0.00099, "9.9e-04"}, {0.0, "0.0000"}}) {
        r.p = p;
        EXPECT_EQ(pairCell(r, PairColumn::P), text) << p;
    }
    r.stats.reset();
    r.z.reset();
    EXPECT_EQ(pairCell(r, PairColumn::Net), "--");
    EXPECT_EQ(pairCell(r, PairColumn::Z), "--");

    PairSearchTable t;
    t.rows = {r};
    const std::string tsv = pairTableTsv(t);
    EXPECT_EQ(tsv.substr(0, tsv.find('\n')),
              "買い\t買い銘柄名\t売り\t売り銘柄名\t業種\t相関\t相関(短期)\tβ\tt\tp\tq\t半減期\tZ");
    t.rows[0].aName = "A,\"x\"";
    const std::string csv = pairTableCsv(t);
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(csv.find("\r\n7203,\"A,\"\"x\"\"\",7204"), std::string::npos);

    // A pair's industry: one name when the legs share it or only one leg's is known, both names
    // across two industries.
    ScreenMarket m;
    for (const char* sector : {"輸送用機器", "輸送用機器", "電機・精密", ""}) {
        ScreenStock stock;
        stock.code = 1301 + static_cast<int32_t>(m.stocks.size());
        stock.marketCode = 1;
        stock.sector17 = sector;
        m.stocks.push_back(stock);
    }
    // The bought leg's industry first: a z above 0 turns the pair.
    const struct {
        int32_t a, b;
        std::optional<double> z;
        std::string sector;
    } sectors[] = {{0, 1, std::nullopt, "輸送用機器"},
                   {0, 3, 1.0, "輸送用機器"},
                   {1, 2, std::nullopt, "輸送用機器/電機・精密"},
                   {1, 2, -1.0, "輸送用機器/電機・精密"},
                   {1, 2, 1.0, "電機・精密/輸送用機器"}};
    for (const auto& c : sectors) {
        ScreenPair pair;
        pair.a = c.a;
        pair.b = c.b;
        pair.z = c.z;
        EXPECT_EQ(pairSearchRow(m, pair, 0, 17).sector, c.sector) << c.a << "-" << c.b;
    }
}

TEST(PairSearchTable, CopiedAndSavedCellsArePlainNumbers) {
    PairSearchRow r = backtestedRow();
    const std::vector<std::pair<PairColumn, std::string>> cells = {
        {PairColumn::Correlation, "0.87345"},
        {PairColumn::P, "0.0123456"},
        {PairColumn::Q, "4e-05"},
        {PairColumn::T, ""},
        {PairColumn::Z, "-2.345"},
        {PairColumn::WinRate, "62.5"},
        {PairColumn::Net, "-1234567"},
        {PairColumn::ProfitFactor, ""},
        {PairColumn::AverageHolding, "11.26"},
    };
    for (const auto& [column, text] : cells) {
        EXPECT_EQ(pairSpreadsheetCell(r, column), text) << static_cast<int>(column);
    }
    PairSearchTable t;
    t.withBacktest = true;
    t.rows = {r};
    const std::string tsv = pairTableTsv(t);
    const std::string line = tsv.substr(tsv.find('\n') + 1);
    EXPECT_EQ(line.find_first_of("%,"), std::string::npos) << line;
    EXPECT_EQ(line.find("本"), std::string::npos) << line;
    // A name a spreadsheet would take for a formula stays text.
    for (const char* name : {"=HYPERLINK", "+1", "@SUM"}) {
        t.rows[0].aName = name;
        EXPECT_NE(pairTableCsv(t).find(std::string("\r\n7203,'") + name + ","), std::string::npos)
            << name;
    }
    EXPECT_EQ(pairTableFileName(20250314), "ペア検索_2025-03-14.csv");
    EXPECT_EQ(pairTableFileName(0), "ペア検索.csv");
}

TEST(PairSearchTable, FunnelLine) {
    ScreenResult r;
    r.universe = 4000;
    r.funnel = {{"pairs", 7998000}, {"correlation", 41203}, {"correlation_short", 20000},
                {"p", 3118},        {"half_life", 1042},    {"q", 1042},
                {"z", 1042}};
    r.pairs.resize(100);
    ScreenOptions o;
    o.minCorrelation = 0.7;
    o.maxP = 0.05;
    o.maxHalfLife = 60;
    // The rows the table lists close the line: the limit cut them, not the filters.
    EXPECT_EQ(funnelLine(r, o),
              "4,000銘柄 → 7,998,000組 → 相関 41,203 → p 3,118 → 半減期 1,042"
              "　上位 100 組を表示");
    o.minAbsZ = 2;
    EXPECT_EQ(funnelLine(r, o).substr(funnelLine(r, o).rfind("→")),
              "→ |Z| 1,042　上位 100 組を表示");
}

TEST(PairCandidate, BuysTheCheaperLegForTheAmount) {
    const CandidateLeg a{'T', 7203, "トヨタ自動車", 2480.0};
    const CandidateLeg b{'T', 7267, "ホンダ", 1234.0};
    // z of a / b above 0: a is dear, b is bought.
    PositionRecord r = candidateRecord(a, b, 1.8, true, 1000000, 20250401);
    EXPECT_EQ(r.buy.stockCode, 7267);
    EXPECT_EQ(r.buy.quantity, 800);  // 1,000,000 / 1,234 = 810 -> 800
    EXPECT_EQ(r.sell.stockCode, 7203);
    EXPECT_EQ(r.sell.quantity, 400);  // 403 -> 400
    EXPECT_EQ(r.buy.entryDate, 250401);
    EXPECT_EQ(utf8FromCp932(r.sell.shortName), "トヨタ");  // six bytes, whole characters
    r = candidateRecord(a, b, -0.1, true, 1000000, 20250401);
    EXPECT_EQ(r.buy.stockCode, 7203);
    r = candidateRecord(a, b, 0.0, false, 100000, 20250401);
    EXPECT_EQ(r.buy.stockCode, 7203);
    EXPECT_EQ(r.buy.quantity, 100);  // below one unit: one unit
    EXPECT_EQ(unitQuantity(1000000, 0.0), 100);
}

TEST(PairCandidate, TradeMarksOnDailyAndWeeklyBars) {
    std::vector<DayBar> bars(10);
    for (int i = 0; i < 10; ++i) {
        bars[static_cast<size_t>(i)].date = PackedDate{55, 1, static_cast<uint8_t>(5 + i)};
    }
    BacktestTrade up;
    up.direction = BacktestDirection::BuyA;
    up.entryDate = 20250106;
    up.exitDate = 20250109;
    up.reason = BacktestExit::Stop;
    BacktestTrade down = up;
    down.direction = BacktestDirection::SellA;
    down.entryDate = 20250110;
    down.exitDate = 20250113;
    down.reason = BacktestExit::Time;
    BacktestTrade open = up;
    open.entryDate = 20250114;
    open.reason = BacktestExit::Open;
    const TradeMarks m = tradeMarksOn({up, down, open}, bars);
    ASSERT_EQ(m.size(), 5u);
    EXPECT_EQ((std::vector<int32_t>{m[0].slot, m[1].slot, m[2].slot, m[3].slot, m[4].slot}),
              (std::vector<int32_t>{1, 4, 5, 8, 9}));
    EXPECT_EQ(m[0].kind, TradeMarkKind::EntryUp);
    EXPECT_EQ(m[1].kind, TradeMarkKind::ExitStop);
    EXPECT_TRUE(m[1].buyColor);
    EXPECT_EQ(m[2].kind, TradeMarkKind::EntryDown);
    EXPECT_EQ(m[3].kind, TradeMarkKind::ExitTime);
    EXPECT_FALSE(m[3].buyColor);
    // A weekly bar dated the Friday takes the fills of its week.
    std::vector<DayBar> weeks(2);
    weeks[0].date = PackedDate{55, 1, 10};
    weeks[1].date = PackedDate{55, 1, 17};
    EXPECT_EQ(tradeMarksOn({down}, weeks)[0].slot, 0);
}

TEST_F(Viewer, CandidateShowsWithItsTitleAndDownLeavesIt) {
    open(positionLine(1001, 1002) + positionLine(1003, 1004));
    a.settings.lowerPaneMode = 1;
    PairCandidate c;
    c.record.buy = test::leg('T', 1005, 230301);
    c.record.sell = test::leg('T', 1006, 230301);
    c.ratioPeriod = 40;
    ASSERT_TRUE(showCandidate(a, shell, c));
    EXPECT_EQ(a.settings.lowerPaneMode, 3);
    EXPECT_EQ(a.ratio.period, 40);
    const std::string title = utf8FromCp932(headerLineText(chartContext(a)));
    EXPECT_EQ(title.rfind("候補 [ 買 東証  1005", 0), 0u) << title;
    // Down goes on from the position shown before the candidate, with the user's pane back.
    key(40);
    EXPECT_FALSE(a.candidate.shown);
    EXPECT_EQ(a.view.currentPosition, 1);
    EXPECT_EQ(a.settings.lowerPaneMode, 1);
    EXPECT_EQ(a.series.buyStockCode, 1003);
    // From the last position Down has nowhere to go: it goes back to that position.
    ASSERT_TRUE(showCandidate(a, shell, c));
    key(40);
    EXPECT_EQ(a.series.buyStockCode, 1003);
    EXPECT_TRUE(shell.messages.empty());
    ASSERT_TRUE(showCandidate(a, shell, c));
    key(36);  // Home
    EXPECT_EQ(a.series.buyStockCode, 1001);
    // Reading the position file again shows its first position; a ratio period set in 設定
    // while the candidate was shown is kept.
    ASSERT_TRUE(showCandidate(a, shell, c));
    a.settings.ratioPeriod = 30;
    press(command::kReloadPositions);
    EXPECT_FALSE(a.candidate.shown);
    EXPECT_EQ(a.series.buyStockCode, 1001);
    EXPECT_EQ(a.settings.ratioPeriod, 30);
    c.record.sell.stockCode = 4321;  // not in the price files: its leg named, no file line
    EXPECT_FALSE(showCandidate(a, shell, c));
    EXPECT_EQ(shell.messages.back().text,
              "指定銘柄は登録されていません\n売りの銘柄 T4321 が株価データにありません");
}

TEST_F(Viewer, ShowBacktestMarksTheHeldPositionOnDailyBarsOnly) {
    open(positionLine(1001, 1002) + positionLine(1001, 4321));
    a.settings.showBacktest = 1;
    ASSERT_TRUE(rebuildSeries(a, shell));
    ASSERT_TRUE(a.shownBacktest.valid);
    EXPECT_EQ(a.shownBacktest.stats.trades + a.shownBacktest.stats.hasOpenTrade,
              static_cast<int32_t>(a.shownBacktest.trades.size()));
    EXPECT_EQ(chartContext(a).tradeMarks, &a.shownBacktest.marks);
    key(46);  // Delete: weekly bars
    EXPECT_FALSE(a.shownBacktest.valid);
    EXPECT_EQ(chartContext(a).tradeMarks, nullptr);
    key(46);  // daily again; a position that cannot be built keeps none of the last one's trades
    key(40);
    EXPECT_FALSE(a.shownBacktest.valid);
}

TEST_F(Viewer, WithoutPositionsACandidateIsChartedAndAddedAsTheFirstPosition) {
    open("");
    PairCandidate c;
    c.record = candidateRecord({'T', 1005, "STOCK1005", 1040.0}, {'T', 1006, "STOCK1006", 1080.0},
                               1.0, true, 1000000, 20230301);
    const PositionForm form = candidatePositionForm(a, c);
    EXPECT_EQ(form.buyCode, "T1006");  // z above 0: the second leg is the cheaper one
    EXPECT_EQ(form.sellCode, "T1005");
    EXPECT_EQ(form.buyQuantity, "900");  // 1,000,000 / 1,080 = 925 -> 900
    EXPECT_EQ(form.sellQuantity, "900");
    EXPECT_EQ(form.buyDate, positionFormFor(a, -1).buyDate);  // the newest date
    const int draws = shell.draws;
    ASSERT_TRUE(showCandidate(a, shell, c));
    EXPECT_GT(shell.draws, draws);
    EXPECT_EQ(a.series.buyStockCode, 1006);
    const FormWrite written = writePositionForm(a, -1, form);
    ASSERT_TRUE(written.ok) << written.message;
    showPositionsAfterWrite(a, shell, written.position);
    ASSERT_EQ(a.positions.positionCount, 1);
    EXPECT_FALSE(a.candidate.shown);
    EXPECT_EQ(a.view.commandState, 1);
    EXPECT_TRUE(shell.menuEnabled.at(command::kSpreadData));
}

using test::writeRevertingMarket;

TEST(PairSearchJob, TheBarMovesWithinLoadingAndScreeningByTheirSteps) {
    PairSearchProgress p;
    p.stepCount = 200;
    p.stepsDone = 100;
    EXPECT_EQ(pairSearchPermille(p), 150);  // loading is the first 300
    p.stage = static_cast<int>(PairSearchStage::Screening);
    p.stepsDone = 250;  // never past the stage's end
    EXPECT_EQ(pairSearchPermille(p), 800);
    p.stepCount = 0;  // not counted yet: the stage's start
    p.permille = 300;
    EXPECT_EQ(pairSearchPermille(p), 300);
}

TEST(PairSearchJob, ACancelledRunHandsBackNothing) {
    test::TempInstallation in;
    writeRevertingMarket(in, 300);
    PairSearchProgress progress;
    progress.cancel = true;
    PairSearchOutcome out = runPairSearch(in.paths, defaultPairSearchSettings(), progress);
    EXPECT_EQ(out.result, PairSearchResult::Cancelled);
    EXPECT_TRUE(out.table.rows.empty());
    // A job cancelled while it runs, and one dropped unfinished: both end, nothing leaks.
    PairSearchJob job(in.paths, defaultPairSearchSettings());
    job.cancel();
    out = job.take();
    EXPECT_EQ(out.result, PairSearchResult::Cancelled);
    EXPECT_TRUE(out.table.rows.empty());
    { PairSearchJob dropped(in.paths, defaultPairSearchSettings()); }
    // Too few dates for the window: refused with the reason.
    PairSearchSettings s = defaultPairSearchSettings();
    s.screen.days = 400;
    PairSearchProgress fresh;
    out = runPairSearch(in.paths, s, fresh);
    EXPECT_EQ(out.result, PairSearchResult::Refused);
    EXPECT_NE(out.message.find("400日"), std::string::npos);
    // 両方とも貸借 without the listing's margin codes: the column and how to get it.
    s = defaultPairSearchSettings();
    s.screen.borrowable = true;
    PairSearchProgress third;
    out = runPairSearch(in.paths, s, third);
    EXPECT_EQ(out.result, PairSearchResult::Refused);
    EXPECT_NE(out.message.find("MarginCode"), std::string::npos) << out.message;
    EXPECT_NE(out.message.find("zepa_import --names"), std::string::npos) << out.message;
}

}  // namespace
}  // namespace zepa
