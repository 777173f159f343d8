#include "tools/demo/demo_listing.h"

#include <algorithm>

namespace zepa {
namespace {

struct Industry {
    const char* sector17Code;
    const char* sector17Name;
    const char* sector33Code;
    const char* sector33Name;
};

// By DemoSector, in its order; the index has none.
constexpr Industry kIndustries[kDemoSectorCount] = {
    {"", "", "", ""},
    {"3", "建設・資材", "2050", "建設業"},
    {"1", "食品", "3050", "食料品"},
    {"4", "素材・化学", "3200", "化学"},
    {"5", "医薬品", "3250", "医薬品"},
    {"7", "鉄鋼・非鉄", "3450", "鉄鋼"},
    {"8", "機械", "3600", "機械"},
    {"9", "電機・精密", "3650", "電気機器"},
    {"6", "自動車・輸送機", "3700", "輸送用機器"},
    {"13", "商社・卸売", "6050", "卸売業"},
    {"15", "銀行", "7050", "銀行業"},
    {"12", "運輸・物流", "5050", "陸運業"},
    {"12", "運輸・物流", "5100", "海運業"},
    {"11", "電力・ガス", "4050", "電気・ガス業"},
};

// The securities house among the banks.
constexpr Industry kSecurities = {"16", "金融（除く銀行）", "7100", "証券、商品先物取引業"};

}  // namespace

ListingTable demoListing(std::span<const DemoStock> stocks) {
    ListingTable table;
    for (const DemoStock& s : stocks) {
        if (s.sector == DemoSector::Index) {
            continue;
        }
        const Industry& industry =
            s.code == 8608 ? kSecurities : kIndustries[static_cast<int>(s.sector)];
        const bool newListing = s.listedOn.ok();
        const bool first = s.marketLetter == 'T' && !newListing;
        ListingEntry e;
        e.stockCode = s.code;
        e.name = s.name;
        e.sector17Code = industry.sector17Code;
        e.sector17Name = industry.sector17Name;
        e.sector33Code = industry.sector33Code;
        e.sector33Name = industry.sector33Name;
        e.marketCode = newListing ? "0113" : first ? "0111" : "0112";
        e.scaleCategory = !first                     ? ""
                          : s.dailyVolume >= 3000000 ? "TOPIX Large70"
                          : s.dailyVolume >= 500000  ? "TOPIX Mid400"
                                                     : "TOPIX Small 1";
        e.marginCode = first ? kMarginLendable : kMarginCredit;
        table.entries.push_back(e);
    }
    std::sort(
        table.entries.begin(), table.entries.end(),
        [](const ListingEntry& a, const ListingEntry& b) { return a.stockCode < b.stockCode; });
    markListingColumns(table);
    return table;
}

}  // namespace zepa
