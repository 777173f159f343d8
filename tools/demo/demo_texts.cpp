#include "tools/demo/demo_texts.h"

#include <algorithm>
#include <cmath>

#include "base/codepage.h"
#include "tools/demo/demo_random.h"

namespace zepa {
namespace {

using std::chrono::year;

constexpr CivilDay ymd(int y, unsigned m, unsigned d) {
    return CivilDay{year{y}, std::chrono::month{m}, std::chrono::day{d}};
}

struct PlannedPosition {
    int32_t buyCode;
    int32_t sellCode;
    CivilDay enterFrom;  // not ok(): the trader has not entered it yet
    CivilDay enterTo;
    int sellDelay;  // trading days between the buy and the sell order
};

// The first one shows at start-up, so both its legs have data from the first file on.
constexpr PlannedPosition kPlan[] = {
    {6512, 6743, ymd(2025, 6, 2), ymd(2025, 9, 30), 0},
    {8362, 8379, ymd(2026, 2, 2), ymd(2026, 5, 29), 0},
    {5412, 5438, ymd(2025, 10, 1), ymd(2026, 3, 31), 0},
    {9104, 9117, ymd(2026, 6, 1), ymd(2026, 9, 30), 0},
    {2218, 2274, ymd(2025, 3, 3), ymd(2025, 6, 30), 0},
    {4528, 4563, ymd(2026, 4, 1), ymd(2026, 8, 31), 0},
    {7214, 7263, ymd(2026, 9, 1), ymd(2026, 11, 20), 0},
    {9504, 9536, CivilDay{}, CivilDay{}, 0},
    {6578, 6891, ymd(2025, 5, 1), ymd(2025, 8, 29), 0},   // through the split
    {4592, 4528, ymd(2025, 11, 4), ymd(2026, 3, 31), 0},  // the new listing
    {6961, 6857, ymd(2026, 1, 5), ymd(2026, 6, 30), 0},   // prices kept in 100 yen
    {1824, 1857, ymd(2026, 7, 1), ymd(2026, 10, 30), 0},
    {8027, 8064, ymd(2025, 1, 6), ymd(2025, 4, 30), 2},
    {6938, 6743, ymd(2026, 3, 2), ymd(2026, 7, 31), 0},  // thinly traded
    {4126, 4187, ymd(2024, 9, 2), ymd(2024, 12, 27), 0},
    {9046, 9023, ymd(2025, 2, 3), ymd(2025, 5, 30), 0},
    {8343, 8341, ymd(2026, 10, 1), ymd(2026, 11, 20), 0},  // a planted pair: its ratio reverts
};

std::string padded(std::string text, size_t width) {
    text.resize(std::max(text.size(), width), ' ');
    return text;
}

// One leg in the eight, nine, nine and nine columns of the file.
std::string legColumns(const std::string& code, const std::string& name, const std::string& date,
                       const std::string& quantity) {
    return padded(code, 8) + ' ' + padded(name, 9) + ' ' + padded(date, 9) + ' ' +
           padded(quantity, 9);
}

std::string endLine(std::string line) {
    line.erase(line.find_last_not_of(' ') + 1);
    return line + "\r\n";
}

std::string cp932Lines(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* line : lines) {
        out += endLine(cp932FromUtf8(line));
    }
    return out;
}

struct LegText {
    std::string code, name, date, quantity;
};

LegText legText(const DemoStock& s, const DemoMarket& m, int day, int64_t quantity) {
    return {std::string(1, s.marketLetter) + std::to_string(s.code), cp932FromUtf8(s.shortName),
            day < 0 ? std::string() : std::to_string(yymmdd(m.days[static_cast<size_t>(day)])),
            std::to_string(quantity)};
}

// The first trading day in [from, to] on which both legs have traded, picked at random.
int entryDay(const DemoMarket& m, const PlannedPosition& p, int buy, int sell, DemoRandom& rng) {
    if (!p.enterFrom.ok()) {
        return -1;
    }
    const auto first = std::lower_bound(m.days.begin(), m.days.end(), p.enterFrom);
    const auto last = std::upper_bound(m.days.begin(), m.days.end(), p.enterTo);
    if (first >= last) {
        return -1;
    }
    int day = static_cast<int>(first - m.days.begin()) +
              uniformInt(rng, 0, static_cast<int>(last - first) - 1);
    while (static_cast<size_t>(day) + 1 < m.days.size() &&
           (closeInYen(m, buy, static_cast<size_t>(day)) == 0 ||
            closeInYen(m, sell, static_cast<size_t>(day)) == 0)) {
        ++day;
    }
    return day;
}

int64_t roundLots(double shares) {
    return std::max<int64_t>(1, static_cast<int64_t>(std::floor(shares / 100 + 0.5))) * 100;
}

}  // namespace

std::string demoPositionFile(const DemoMarket& m, uint64_t seed) {
    std::string out = cp932Lines({
        "# 建て玉ファイル：1行に1組、買い銘柄と売り銘柄を決まった桁に書きます",
        "# 市場 T=東証 O=大証 N=名証 K=店頭、建日は YYMMDD、株数は100株単位",
    });
    out += endLine(legColumns("#" + cp932FromUtf8("買銘柄"), cp932FromUtf8("略称"),
                              cp932FromUtf8("建日"), cp932FromUtf8("株数")) +
                   ' ' +
                   legColumns(cp932FromUtf8("売銘柄"), cp932FromUtf8("略称"), cp932FromUtf8("建日"),
                              cp932FromUtf8("株数")));
    DemoRandom rng = demoStream(seed, 2);
    const size_t lastDay = m.days.empty() ? 0 : m.days.size() - 1;
    for (const PlannedPosition& p : kPlan) {
        const int buy = findDemoStock(m.stocks, p.buyCode);
        const int sell = findDemoStock(m.stocks, p.sellCode);
        if (buy < 0 || sell < 0) {
            continue;
        }
        const int day = entryDay(m, p, buy, sell, rng);
        const int sellDay = day < 0 ? -1 : std::min(day + p.sellDelay, static_cast<int>(lastDay));
        const size_t priced = day < 0 ? lastDay : static_cast<size_t>(day);
        const double buyPrice =
            static_cast<double>(std::max<int64_t>(closeInYen(m, buy, priced), 1));
        const double sellPrice =
            static_cast<double>(std::max<int64_t>(closeInYen(m, sell, priced), 1));
        // Equal money on both sides, so that a move of the whole sector nets out.
        const double target = uniformInt(rng, 15, 50) * 100000.0;
        const int64_t buyShares = roundLots(target / buyPrice);
        const int64_t sellShares = roundLots(static_cast<double>(buyShares) * buyPrice / sellPrice);
        const LegText b = legText(m.stocks[static_cast<size_t>(buy)], m, day, buyShares);
        const LegText s = legText(m.stocks[static_cast<size_t>(sell)], m, sellDay, sellShares);
        out += endLine(legColumns(b.code, b.name, b.date, b.quantity) + ' ' +
                       legColumns(s.code, s.name, s.date, s.quantity));
    }
    return out;
}

std::string demoCorrectionFile(const DemoMarket& m) {
    std::string out = cp932Lines({"# 株価を100倍して表示する銘柄コード（1行に1銘柄）"});
    for (const DemoStock& s : m.stocks) {
        if (s.priceUnit == 100) {
            out += endLine(std::to_string(s.code));
        }
    }
    return out;
}

std::string demoTipFile() {
    return cp932Lines({
        "# さや取りの心得：1行に1つ。# で始まる行は表示されません",
        "同じ業種の2銘柄で組めば、相場全体の上げ下げはほぼ打ち消し合う",
        "株数ではなく金額をそろえる。買いと売りが同じ額でこそ、さやを取れる",
        "見るべきは片方の値動きではなく、2銘柄の差の動きだ",
        "損切りの幅は建てる前に決めておく。さやの広がりには訳がある",
        "過去のさやの幅を確かめてから建てよう。いつもの範囲を外れた時が出番",
        "配当落ち日をまたぐなら、両銘柄の配当の差を損益に入れておく",
        "株式分割のあとは株価も株数も変わる。建て玉の株数を見直そう",
        "決算発表の前後は片方だけが大きく動く。日程を確かめてから建てる",
        "信用売りには貸株料や逆日歩がかかる。持ち続ける費用も損益のうち",
        "出来高の少ない銘柄は、思った値で手仕舞えないことがある",
        "一度に全部を建てず、何回かに分けると平均の値が落ち着く",
        "相場が荒れた日ほど、さやは冷静に見比べよう",
        "見込みが外れたら潔く手仕舞う。さやはいつまでも待ってくれない",
    });
}

}  // namespace zepa
