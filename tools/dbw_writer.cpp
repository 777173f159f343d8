#include "tools/dbw_writer.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace zepa {
namespace {

void putU16(std::string& out, size_t at, uint32_t v) {
    out[at] = static_cast<char>(v & 0xFF);
    out[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void putI32(std::string& out, size_t at, int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
}

uint16_t offsetFromLow(int32_t price, int32_t low) {
    int64_t d = int64_t{price} - low;
    return static_cast<uint16_t>(std::clamp<int64_t>(d, 0, 65535));
}

}  // namespace

uint16_t encodeQuantity(int64_t value) {
    if (value <= 0) {
        return 0;
    }
    int64_t bestCode = 0;
    int64_t bestError = value;
    int64_t mult = 1;
    for (int band = 0; band <= 7; ++band, mult *= 10) {
        const int64_t offset = 9000LL * band;
        const int64_t lowMantissa = band == 0 ? 0 : 1000;
        const int64_t highMantissa = band == 7 ? 65535 - offset : 9999;
        int64_t m = (value + mult / 2) / mult;
        m = std::clamp(m, lowMantissa, highMantissa);
        for (int64_t candidate : {m - 1, m, m + 1}) {
            if (candidate < lowMantissa || candidate > highMantissa) {
                continue;
            }
            int64_t error =
                candidate * mult > value ? candidate * mult - value : value - candidate * mult;
            if (error < bestError) {
                bestError = error;
                bestCode = candidate + offset;
            }
        }
    }
    return static_cast<uint16_t>(bestCode);
}

bool writePriceDatabase(const std::string& path, const DbwFile& f) {
    const uint64_t stockSlots =
        f.stocks.size() + static_cast<uint64_t>(std::max(0, f.unusedStockSlots));
    const uint64_t dateSlots =
        f.dates.size() + static_cast<uint64_t>(std::max(0, f.unusedDateSlots));
    if (stockSlots > 65535 || dateSlots > 65535) {
        return false;
    }
    const uint64_t tablesSize = 4 + 16 * stockSlots + 3 * dateSlots;
    std::string tables(tablesSize, '\0');
    putU16(tables, 0, f.headerStockSlots.value_or(static_cast<uint16_t>(stockSlots)));
    putU16(tables, 2, f.headerDateSlots.value_or(static_cast<uint16_t>(dateSlots)));
    for (size_t s = 0; s < f.stocks.size(); ++s) {
        std::string name = f.stocks[s].name.substr(0, 12);
        name.resize(12, ' ');
        std::copy(name.begin(), name.end(), tables.begin() + 4 + 12 * s);
        putI32(tables, 4 + 12 * stockSlots + 4 * s, f.stocks[s].key);
    }
    for (size_t d = 0; d < f.dates.size(); ++d) {
        size_t at = 4 + 16 * stockSlots + 3 * d;
        tables[at] = static_cast<char>(f.dates[d].year);
        tables[at + 1] = static_cast<char>(f.dates[d].month);
        tables[at + 2] = static_cast<char>(f.dates[d].day);
    }

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out.write(tables.data(), static_cast<std::streamsize>(tables.size()));
    const uint64_t blockSize = 20 * dateSlots;
    std::string block;
    for (size_t s = 0; s < f.stocks.size(); ++s) {
        const std::vector<DbwRecord>& records = f.stocks[s].records;
        if (records.empty()) {
            continue;
        }
        block.assign(blockSize, '\0');
        for (size_t d = 0; d < records.size() && d < dateSlots; ++d) {
            const DbwRecord& r = records[d];
            const size_t at = 20 * d;
            putU16(block, at + 0, offsetFromLow(r.open, r.low));
            putU16(block, at + 2, offsetFromLow(r.high, r.low));
            putI32(block, at + 4, r.low);
            putU16(block, at + 8, offsetFromLow(r.close, r.low));
            putU16(block, at + 10, encodeQuantity(r.volume));
            putU16(block, at + 18, r.adjustment);
        }
        out.seekp(static_cast<std::streamoff>(tablesSize + s * blockSize));
        out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    out.close();
    if (!out) {
        return false;
    }
    const uint64_t fullSize = tablesSize + stockSlots * blockSize;
    std::error_code ec;
    std::filesystem::resize_file(path, f.truncateAt.value_or(fullSize), ec);
    return !ec;
}

}  // namespace zepa
