// The update against the local server.
#include <gtest/gtest.h>

#include "import/import_run.h"
#include "import/import_summary.h"
#include "import/jquants_update.h"
#include "tests/jquants/jquants_test_support.h"
#include "tests/support/temp_installation.h"

namespace zepa {
namespace {

using namespace test;

constexpr int32_t kDays[] = {20240104, 20240105, 20240109, 20240110, 20240111};

// Three stocks a day (one code the price files cannot hold), a day without trade for one, a
// 1:2 split on the fourth day, prices with decimals.
std::vector<std::string> rowsOf(int32_t day, int n) {
    const std::string iso = FakeJQuants::iso(day);
    const std::string open = std::to_string(2000 + n * 10) + ".0";
    const std::string high = std::to_string(2050 + n * 10) + ".0";
    const std::string close = std::to_string(2020 + n * 10) + ".5";
    std::vector<std::string> rows = {
        barRow(iso, "72030", open.c_str(), high.c_str(), "1990.0", close.c_str(), "1234567.0",
               n == 3 ? "0.5" : "1.0"),
        n == 1 ? barRow(iso, "67580", "null", "null", "null", "null", "0.0")
               : barRow(iso, "67580", "13000", "13200", "12900", "13100", "345600"),
        barRow(iso, "130A0", "800", "820", "790", "810", "5000"),
    };
    return rows;
}

const char* const kListing[] = {
    "{\"Date\":\"2024-01-04\",\"Code\":\"72030\",\"CoName\":\"トヨタ自動車\",\"CoNameEn\":"
    "\"TOYOTA\","
    "\"S17\":\"6\",\"S17Nm\":\"自動車・輸送機\",\"S33\":\"3700\",\"S33Nm\":\"輸送用機器\","
    "\"ScaleCat\":\"TOPIX Core30\",\"Mkt\":\"0111\",\"MktNm\":\"プライム\",\"Mrgn\":\"2\","
    "\"MrgnNm\":\"貸借\"}",
    "{\"Date\":\"2024-01-04\",\"Code\":\"67580\",\"CoName\":\"ソニーグループ\",\"CoNameEn\":"
    "\"SONY\","
    "\"S17\":\"9\",\"S17Nm\":\"電機・精密\",\"S33\":\"3650\",\"S33Nm\":\"電気機器\","
    "\"ScaleCat\":\"TOPIX Core30\",\"Mkt\":\"0111\",\"MktNm\":\"プライム\",\"Mrgn\":\"1\","
    "\"MrgnNm\":\"信用\"}",
};

// The same listing as the vendor's listed-info CSV a user would download.
const char* const kNamesCsv =
    "Code,CompanyName,Sector17Code,Sector17CodeName,Sector33Code,Sector33CodeName,MarketCode,"
    "ScaleCategory,MarginCode\n"
    "72030,トヨタ自動車,6,自動車・輸送機,3700,輸送用機器,0111,TOPIX Core30,2\n"
    "67580,ソニーグループ,9,電機・精密,3650,電気機器,0111,TOPIX Core30,1\n";

// The five days' bars and the listing on the fake service.
void serveDays(FakeJQuants& fake) {
    for (int n = 0; n < 5; ++n) {
        fake.bars[kDays[n]] = rowsOf(kDays[n], n);
    }
    fake.listing.assign(std::begin(kListing), std::end(kListing));
}

class JQuantsUpdateTest : public ::testing::Test {
  protected:
    JQuantsUpdateTest() {
        serveDays(s.fake);
        s.fake.holidays = {{20240106, "0"}, {20240107, "0"}, {20240108, "0"}};
    }

    int update(int32_t from, int32_t to, int32_t today = 20240111, int perBatch = 10) {
        clock.stopNow = false;
        JQuantsUpdateOptions o;
        o.import.root = web.root.string();
        o.from = from;
        o.to = to;
        o.today = today;
        o.daysPerBatch = perBatch;
        JQuantsSession session(s.settings(), clock.world());
        const int status = runJQuantsUpdate(
            o, session,
            [this](const JQuantsProgress& p) {
                progress.push_back(p.day);
                clock.stopNow = p.day != 0 && p.day == stopBefore;
            },
            report);
        messages.insert(messages.end(), report.import.errors.begin(), report.import.errors.end());
        messages.insert(messages.end(), report.import.warnings.begin(),
                        report.import.warnings.end());
        messages.insert(messages.end(), report.notes.begin(), report.notes.end());
        messages.push_back(updateSummaryText(report) + summaryText(report.import));
        messages.insert(messages.end(), clock.notes.begin(), clock.notes.end());
        return status;
    }

    // The same days imported from files, one per day as the service gives them, with the names.
    void importFiles(size_t days) {
        std::vector<std::string> paths;
        for (size_t n = 0; n < days; ++n) {
            std::string body = "{\"data\":[";
            const auto rows = rowsOf(kDays[n], static_cast<int>(n));
            for (size_t i = 0; i < rows.size(); ++i) {
                body += (i == 0 ? "" : ",\n") + rows[i];
            }
            paths.push_back((files.root / ("day" + std::to_string(n) + ".json")).string());
            TempInstallation::writeText(paths.back(), body + "]}");
        }
        const std::string names = (files.root / "listed_info.csv").string();
        TempInstallation::writeText(names, kNamesCsv);
        ImportOptions o;
        o.root = files.root.string();
        o.files = paths;
        o.namesFile = names;
        ImportReport r;
        ASSERT_EQ(runImport(o, r), kExitImported) << (r.errors.empty() ? "" : r.errors[0]);
    }

    void expectSameInstallation() const {
        for (const char* file :
             {"ZEPAWIN/DATA/DBW.2024", "ZEPAWIN/LISTING.CSV", "ZEPAWIN/ZEPA_SPW.DAT"}) {
            const std::string a = TempInstallation::readText(web.root / file);
            EXPECT_FALSE(a.empty()) << file;
            EXPECT_TRUE(a == TempInstallation::readText(files.root / file)) << file;
        }
    }

    std::vector<int32_t> stored() const {
        MarketData md;
        std::vector<int32_t> out;
        const std::string path = web.dataFile("DBW.2024");
        if (!fs::exists(path)) {
            return out;
        }
        md.set.fileCount = 1;
        md.set.files.resize(1);
        md.set.files[0].path = path;
        EXPECT_EQ(loadPriceDatabases(md), DataError::None);
        for (PackedDate d : md.set.files[0].dates) {
            out.push_back(dateValue(d));
        }
        return out;
    }

    std::vector<std::string> barTargets() const {
        std::vector<std::string> out;
        for (const std::string& t : s.targets()) {
            if (t.starts_with("/v2/equities/bars/daily") && t.find("pagination") == t.npos) {
                out.push_back(t.substr(t.find('=') + 1));
            }
        }
        return out;
    }

    ServedFake s;
    FakeClock clock;
    TempInstallation web;
    TempInstallation files;
    JQuantsUpdateReport report;
    std::vector<int32_t> progress;
    int32_t stopBefore = 0;
    std::vector<std::string> messages;  // every text the runs gave
};

TEST_F(JQuantsUpdateTest, AFirstFillAndADailyUpdateEqualImportingTheSameRowsFromFiles) {
    ASSERT_EQ(update(20240104, 20240109), kExitImported) << messages[0];
    EXPECT_EQ(report.daysTotal, 3);
    EXPECT_EQ(report.daysWritten, 3);
    EXPECT_EQ(report.import.total.added, 5);  // one stock had no trade on one day
    EXPECT_EQ(report.import.total.skippedNoPrices, 1);
    EXPECT_EQ(report.import.skippedCodes.at("130A0"), 3);
    EXPECT_EQ(progress, (std::vector<int32_t>{20240104, 20240105, 20240109, 0}));

    // The next day's update: from the day after the newest stored date up to today.
    ASSERT_EQ(update(0, 0), kExitImported) << messages.back();
    EXPECT_EQ(report.from, 20240110);
    EXPECT_EQ(barTargets(), (std::vector<std::string>{"20240104", "20240105", "20240109",
                                                      "20240110", "20240111"}));
    EXPECT_EQ(stored(), (std::vector<int32_t>{20240104, 20240105, 20240109, 20240110, 20240111}));
    importFiles(5);
    expectSameInstallation();

    // Up to date: nothing is asked.
    ASSERT_EQ(update(0, 0), kExitImported);
    EXPECT_EQ(barTargets().size(), 5u);
    EXPECT_NE(messages.back().find("up to date"), std::string::npos) << messages.back();
    expectNoKey(messages);
}

TEST_F(JQuantsUpdateTest, AStoppedFillKeepsItsDaysAndARerunContinuesAfterThem) {
    stopBefore = 20240110;
    EXPECT_EQ(update(20240104, 0, 20240111, 2), kExitInputError);
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(stored(), (std::vector<int32_t>{20240104, 20240105, 20240109}));
    EXPECT_EQ(report.import.errors.back(),
              "stopped: the days through 2024-01-09 are kept; run again to continue");
    stopBefore = 0;
    ASSERT_EQ(update(20240104, 0, 20240111, 2), kExitImported) << messages.back();
    EXPECT_EQ(barTargets(), (std::vector<std::string>{"20240104", "20240105", "20240109",
                                                      "20240110", "20240111"}));
    importFiles(5);
    expectSameInstallation();
    expectNoKey(messages);
}

struct FailingDay {
    const char* what;
    std::map<std::string, std::deque<ServedReply>> faults;
    std::vector<std::string> rows;
    const char* message;
};

const std::string kThird = "/v2/equities/bars/daily?date=20240109";

const FailingDay kFailingDays[] = {
    {"the second page is not JSON",
     {{kThird + "&pagination_key=p2", {{200, "{\"data\":[", {}}}}},
     rowsOf(20240109, 2),
     "GET /equities/bars/daily?date=20240109&pagination_key=p2: the answer is not valid JSON "
     "(nothing of 2024-01-09 was written)"},
    {"a row the importer refuses",
     {},
     {rowsOf(20240109, 2)[1], barRow("2024-01-09", "72030", "2000", "1900", "2100", "2000", "100")},
     "GET /equities/bars/daily?date=20240109 (page 1):1:"},
    {"no rows on a trading day",
     {},
     {},
     "GET /equities/bars/daily?date=20240109: no rows, though the calendar gives 2024-01-09 "
     "as a trading day"},
};

struct JQuantsFailingDay : JQuantsUpdateTest, ::testing::WithParamInterface<FailingDay> {};

TEST_P(JQuantsFailingDay, WritesNothingOfItAndKeepsTheDaysBefore) {
    const FailingDay& c = GetParam();
    s.fake.bars[20240109] = c.rows;
    s.fake.faults = c.faults;
    EXPECT_EQ(update(20240104, 0, 20240111, 5), kExitInputError) << c.what;
    ASSERT_FALSE(report.import.errors.empty()) << c.what;
    EXPECT_TRUE(report.import.errors.back().starts_with(c.message) ||
                report.import.errors.front().starts_with(c.message))
        << c.what << ": " << report.import.errors.front();
    EXPECT_EQ(report.daysWritten, 2) << c.what;
    EXPECT_EQ(report.lastDayWritten, 20240105) << c.what;
    EXPECT_EQ(stored(), (std::vector<int32_t>{20240104, 20240105})) << c.what;
    expectNoKey(messages);
}

INSTANTIATE_TEST_SUITE_P(Faults, JQuantsFailingDay, ::testing::ValuesIn(kFailingDays));

// Days stored after the range asked for do not make it up to date: the range is filled.
TEST_F(JQuantsUpdateTest, ARangeBeforeTheStoredDaysIsFilled) {
    ASSERT_EQ(update(20240110, 0), kExitImported) << messages.back();
    ASSERT_EQ(update(20240104, 20240105), kExitImported) << messages.back();
    EXPECT_EQ(report.daysWritten, 2);
    EXPECT_EQ(stored(), (std::vector<int32_t>{20240104, 20240105, 20240110, 20240111}));
}

TEST_F(JQuantsUpdateTest, TodayWithoutPricesIsNotPublishedYet) {
    s.fake.bars[20240111].clear();
    ASSERT_EQ(update(20240104, 0), kExitImported) << messages[0];
    EXPECT_EQ(report.lastDayWritten, 20240110);
    EXPECT_EQ(report.notes, std::vector<std::string>{
                                "2024-01-11: no prices yet (they are published after the close)"});
}

TEST_F(JQuantsUpdateTest, AnEmptyInstallationNeedsAFirstDay) {
    EXPECT_EQ(update(0, 0), kExitInputError);
    EXPECT_EQ(report.import.errors,
              std::vector<std::string>{
                  "the installation holds no prices yet: give --from DATE for the first fill"});
    EXPECT_TRUE(s.server.requests().empty());
}

TEST(JQuantsDates, TokyoIsNineHoursAheadOfUtc) {
    EXPECT_EQ(tokyoDateOf(1704380399),
              20240104);  // 2024-01-04 14:59:59 UTC, a second before midnight
    EXPECT_EQ(tokyoDateOf(1704380400), 20240105);
    EXPECT_EQ(tokyoDateOf(1735657200), 20250101);  // 2024-12-31 15:00 UTC
}

}  // namespace
}  // namespace zepa
