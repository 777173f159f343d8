#include "import/year_merge.h"

#include <algorithm>

#include "marketdata/market_code.h"

namespace zepa {
namespace {

template <class T>
size_t indexOf(const std::vector<T>& sorted, T value) {
    return static_cast<size_t>(std::lower_bound(sorted.begin(), sorted.end(), value) -
                               sorted.begin());
}

PackedDate packDate(int32_t yyyymmdd) {
    return PackedDate{static_cast<uint8_t>(yyyymmdd / 10000 - 1970),
                      static_cast<uint8_t>(yyyymmdd / 100 % 100),
                      static_cast<uint8_t>(yyyymmdd % 100)};
}

}  // namespace

YearData mergeYear(YearData existing, std::span<const PriceRow> rows, int marketCode,
                   const std::function<std::string(int32_t)>& nameOf, RowCounts& counts) {
    const int32_t marketBase = marketCode * kMarketScale;
    YearData out;
    out.dates = existing.dates;
    out.keys = existing.keys;
    // The rows come sorted by code: one key per run, and each date once.
    std::vector<bool> seen(13 * 32, false);
    for (const PriceRow& r : rows) {
        const size_t day = static_cast<size_t>(r.date % 10000 / 100 * 32 + r.date % 100);
        if (!seen[day]) {
            seen[day] = true;
            out.dates.push_back(r.date);
        }
        if (out.keys.empty() || out.keys.back() != marketBase + r.code) {
            out.keys.push_back(marketBase + r.code);
        }
    }
    std::sort(out.dates.begin(), out.dates.end());
    out.dates.erase(std::unique(out.dates.begin(), out.dates.end()), out.dates.end());
    std::sort(out.keys.begin(), out.keys.end());
    out.keys.erase(std::unique(out.keys.begin(), out.keys.end()), out.keys.end());
    out.names.resize(out.keys.size());
    out.records.assign(out.keys.size() * out.dates.size(), DbwRecord{});

    std::vector<size_t> dateMap(existing.dates.size());
    for (size_t d = 0; d < existing.dates.size(); ++d) {
        dateMap[d] = indexOf(out.dates, existing.dates[d]);
    }
    for (size_t k = 0; k < existing.keys.size(); ++k) {
        const size_t to = indexOf(out.keys, existing.keys[k]);
        out.names[to] = std::move(existing.names[k]);
        for (size_t d = 0; d < existing.dates.size(); ++d) {
            out.at(to, dateMap[d]) = existing.at(k, d);
        }
    }
    existing = YearData{};

    size_t k = 0;
    int32_t lastCode = -1;
    for (const PriceRow& r : rows) {
        if (r.code != lastCode) {
            lastCode = r.code;
            k = indexOf(out.keys, marketBase + r.code);
            std::string name = nameOf(r.code);
            if (!name.empty()) {
                out.names[k] = std::move(name);
            } else if (out.names[k].empty()) {
                out.names[k] = std::to_string(r.code);
            }
        }
        DbwRecord& rec = out.at(k, indexOf(out.dates, r.date));
        ++(rec.low != 0 ? counts.replaced : counts.added);
        rec = DbwRecord{r.open, r.high, r.low, r.close, r.volume, r.adjustment};
    }
    return out;
}

bool applySplit(YearData& year, int32_t key, int32_t date, uint16_t adjustment) {
    const size_t k = indexOf(year.keys, key);
    const size_t d = indexOf(year.dates, date);
    if (k == year.keys.size() || year.keys[k] != key || d == year.dates.size() ||
        year.dates[d] != date || year.at(k, d).low == 0) {
        return false;
    }
    year.at(k, d).adjustment = adjustment;
    return true;
}

DbwFile toDbwFile(const YearData& year) {
    DbwFile f;
    f.dates.reserve(year.dates.size());
    for (int32_t d : year.dates) {
        f.dates.push_back(packDate(d));
    }
    f.stocks.resize(year.keys.size());
    for (size_t k = 0; k < year.keys.size(); ++k) {
        DbwStock& s = f.stocks[k];
        s.key = year.keys[k];
        s.name = year.names[k];
        s.records.assign(
            year.records.begin() + static_cast<ptrdiff_t>(k * year.dates.size()),
            year.records.begin() + static_cast<ptrdiff_t>((k + 1) * year.dates.size()));
    }
    return f;
}

}  // namespace zepa
