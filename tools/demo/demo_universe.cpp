#include "tools/demo/demo_universe.h"

#include "marketdata/market_code.h"

namespace zepa {
namespace {

using std::chrono::year;
using S = DemoSector;

constexpr CivilDay ymd(int y, unsigned m, unsigned d) {
    return CivilDay{year{y}, std::chrono::month{m}, std::chrono::day{d}};
}

// Names are made up; codes sit in the ranges of their industries.
const DemoStock kStocks[] = {
    {.marketLetter = 'I',
     .code = 1,
     .name = "総合指数",
     .shortName = "指数",
     .sector = S::Index,
     .firstPrice = 2450,
     .beta = 1.0,
     .volatility = 0.0,
     .dailyVolume = 1100000000},
    {'T', 1824, "北辰建設", "北辰建", S::Construction, 1150, 0.9, 0.009, 420000},
    {'T', 1857, "丸栄建工", "丸栄建", S::Construction, 1620, 0.85, 0.0083, 260000},
    {'O', 1891, "東和土木", "東和土", S::Construction, 480, 0.8, 0.0112, 120000},
    {'T', 2218, "白峰製菓", "白峰菓", S::Foods, 3350, 0.5, 0.0067, 95000},
    {'T', 2274, "豊穣食品", "豊穣食", S::Foods, 2180, 0.55, 0.0067, 310000},
    {'T', 2536, "蒼泉酒造", "蒼泉酒", S::Foods, 1480, 0.6, 0.0083, 64000},
    {'N', 2893, "若葉乳業", "若葉乳", S::Foods, 870, 0.5, 0.0097, 14000, 0.12},
    {'T', 4042, "朝凪化学", "朝凪化", S::Chemicals, 1720, 1.05, 0.009, 640000},
    {.marketLetter = 'T',
     .code = 4045,
     .name = "藤波化成",
     .shortName = "藤波化",
     .sector = S::Chemicals,
     .firstPrice = 2380,
     .beta = 1.05,
     .volatility = 0.009,
     .dailyVolume = 450000,
     .tracks = 4042,
     .spreadPersistence = 0.87,  // half-life 5 days
     .spreadDeviation = 0.02},
    {'T', 4126, "昭光化成", "昭光化", S::Chemicals, 2640, 1.1, 0.009, 520000},
    {'T', 4187, "瑞穂化学", "瑞穂化", S::Chemicals, 1905, 1.05, 0.009, 360000},
    {'T', 4528, "清和製薬", "清和薬", S::Pharma, 5480, 0.6, 0.0083, 880000},
    {'O', 4563, "創研製薬", "創研薬", S::Pharma, 4210, 0.65, 0.0105, 210000},
    {.marketLetter = 'T',
     .code = 4592,
     .name = "天創薬研",
     .shortName = "天創薬",
     .sector = S::Pharma,
     .firstPrice = 1800,
     .beta = 0.9,
     .volatility = 0.021,
     .dailyVolume = 1200000,
     .listedOn = ymd(2025, 7, 15)},
    {'T', 5412, "北海製鋼", "北海鋼", S::Steel, 3120, 1.2, 0.009, 2500000},
    {'T', 5438, "明石鉄鋼", "明石鉄", S::Steel, 2540, 1.15, 0.0097, 1100000},
    {'T', 5467, "中部特鋼", "中部特", S::Steel, 1260, 1.1, 0.0105, 150000},
    {'T', 5742, "東雲金属", "東雲金", S::Steel, 4050, 1.2, 0.0112, 300000},
    {'T', 6153, "大和工機", "大和工", S::Machinery, 2980, 1.15, 0.0097, 410000},
    {'T', 6187, "北斗機械", "北斗機", S::Machinery, 1375, 1.2, 0.0105, 650000},
    {'T', 6512, "昭栄電機", "昭栄電", S::Electronics, 2310, 1.1, 0.009, 3500000},
    {.marketLetter = 'T',
     .code = 6578,
     .name = "光洋電子",
     .shortName = "光洋電",
     .sector = S::Electronics,
     .firstPrice = 8600,
     .beta = 1.25,
     .volatility = 0.0112,
     .dailyVolume = 600000,
     .splitOn = ymd(2025, 10, 1),
     .splitRatio = 2},
    {'T', 6743, "日進電工", "日進電", S::Electronics, 1920, 1.05, 0.009, 2800000},
    {'T', 6857, "東亜計測", "東亜計", S::Electronics, 7950, 1.3, 0.012, 800000},
    {'T', 6891, "旭精密", "旭精密", S::Electronics, 4470, 1.2, 0.0105, 450000},
    {'K', 6938, "越後電子", "越後電", S::Electronics, 640, 0.9, 0.015, 8000, 0.2},
    {.marketLetter = 'T',
     .code = 6961,
     .name = "極光電子",
     .shortName = "極光電",
     .sector = S::Electronics,
     .firstPrice = 24500,
     .beta = 1.3,
     .volatility = 0.012,
     .dailyVolume = 500000,
     .priceUnit = 100},
    {'T', 7214, "東洋自工", "東洋自", S::Autos, 2860, 1.0, 0.0083, 6000000},
    {'T', 7263, "三河自工", "三河自", S::Autos, 1540, 1.05, 0.009, 1800000},
    {'N', 7281, "尾張発条", "尾張発", S::Autos, 980, 0.95, 0.0105, 90000},
    {'T', 8027, "五洋商事", "五洋商", S::Trading, 3680, 1.0, 0.0083, 2200000},
    {'T', 8064, "明和物産", "明和物", S::Trading, 2950, 1.0, 0.0083, 1600000},
    {'T', 8341, "碧浦銀行", "碧浦銀", S::Banks, 1260, 1.05, 0.009, 1500000},
    {.marketLetter = 'T',
     .code = 8343,
     .name = "白鷺銀行",
     .shortName = "白鷺銀",
     .sector = S::Banks,
     .firstPrice = 940,
     .beta = 1.05,
     .volatility = 0.009,
     .dailyVolume = 1100000,
     .tracks = 8341,
     .spreadPersistence = 0.87,  // half-life 5 days
     .spreadDeviation = 0.02},
    {'T', 8362, "湖北銀行", "湖北銀", S::Banks, 820, 1.1, 0.009, 1400000},
    {'T', 8379, "紀州銀行", "紀州銀", S::Banks, 1045, 1.05, 0.009, 900000},
    {'O', 8608, "大輪証券", "大輪証", S::Banks, 610, 1.3, 0.012, 700000},
    {.marketLetter = 'T',
     .code = 9023,
     .name = "東央鉄道",
     .shortName = "東央鉄",
     .sector = S::Railways,
     .firstPrice = 13800,
     .beta = 0.6,
     .volatility = 0.0067,
     .dailyVolume = 250000,
     .splitOn = ymd(2024, 10, 1),
     .splitRatio = 5},
    {'T', 9031, "西環鉄道", "西環鉄", S::Railways, 3050, 0.6, 0.0067, 520000},
    {.marketLetter = 'T',
     .code = 9036,
     .name = "湾岸電鉄",
     .shortName = "湾岸鉄",
     .sector = S::Railways,
     .firstPrice = 1890,
     .beta = 0.6,
     .volatility = 0.0067,
     .dailyVolume = 380000,
     .tracks = 9031,
     .spreadPersistence = 0.87,  // half-life 5 days
     .spreadDeviation = 0.015},
    {'T', 9046, "武蔵急行", "武蔵急", S::Railways, 2210, 0.6, 0.0067, 700000},
    {'T', 9104, "大洋海運", "大洋海", S::Shipping, 4820, 1.3, 0.0128, 3000000},
    {'T', 9117, "東邦汽船", "東邦船", S::Shipping, 2690, 1.25, 0.0128, 1900000},
    {'T', 9504, "中央電力", "中央電", S::Utilities, 1480, 0.5, 0.0075, 4000000},
    {'T', 9536, "北都瓦斯", "北都ガ", S::Utilities, 3310, 0.45, 0.0067, 600000},
};

}  // namespace

std::span<const DemoStock> demoStocks() {
    return kStocks;
}

StockKey demoStockKey(const DemoStock& stock) {
    return marketCodeOf(stock.marketLetter) * kMarketScale + stock.code;
}

int findDemoStock(std::span<const DemoStock> stocks, int32_t code) {
    for (size_t i = 0; i < stocks.size(); ++i) {
        if (stocks[i].code == code) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace zepa
