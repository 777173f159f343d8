#include "marketdata/price_database.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>

#include "base/little_endian.h"
#include "base/wrapping.h"
#include "marketdata/binary_file.h"
#include "marketdata/quantity_code.h"

namespace zepa {
namespace {

unsigned char foldCase(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}

// Reads the name and the first `records` price records of stock slot `slot` of file `db`
// into md.blockBuffer. Returns DataError::None or the error to raise.
DataError readBlock(MarketData& md, const PriceDatabase& db, int32_t slot, size_t records) {
    size_t bytes = records * kPriceRecordSize;
    try {
        if (md.blockBuffer.size() < bytes) {
            md.blockBuffer.resize(bytes);
        }
    } catch (const std::bad_alloc&) {
        return DataError::OutOfMemory;
    }
    BinaryFile own;
    BinaryFile* file = db.heldFile.get();
    if (file == nullptr) {
        if (!own.open(db.path)) {
            return DataError::OpenFailed;
        }
        file = &own;
    }
    if (!file->seek(4 + int64_t{kStockNameSize} * slot)) {
        return DataError::SeekFailed;
    }
    file->readZeroFilled(md.set.stockName, kStockNameSize);
    md.set.stockName[kStockNameSize] = '\0';
    int64_t offset =
        db.priceAreaOffset + int64_t{slot} * int64_t{db.dateSlots} * int64_t{kPriceRecordSize};
    if (!file->seek(offset)) {
        return DataError::SeekFailed;
    }
    file->readZeroFilled(md.blockBuffer.data(), bytes);
    return DataError::None;
}

void appendRecord(StockSeries& series, PackedDate date, const unsigned char* record) {
    const int32_t s = series.length;
    const int32_t low = readI32(record + 4);
    series.date[s] = date;
    if (low != 0) {
        series.low[s] = low;
        series.open[s] = wrapAdd(low, readU16(record + 0));
        series.high[s] = wrapAdd(low, readU16(record + 2));
        series.close[s] = wrapAdd(low, readU16(record + 8));
    } else if (s > 0) {
        // No trade: the previous date's prices carry forward.
        series.open[s] = series.open[s - 1];
        series.high[s] = series.high[s - 1];
        series.low[s] = series.low[s - 1];
        series.close[s] = series.close[s - 1];
    } else {
        series.open[s] = series.high[s] = series.low[s] = series.close[s] = 0;
    }
    series.volume[s] = decodeQuantity(readU16(record + 10));
    series.adjustment[s] = readU16(record + 18);
    series.length = s + 1;
}

bool allocateSeries(StockSeries& series, size_t capacity) {
    try {
        series.date.assign(capacity, PackedDate{});
        series.open.assign(capacity, 0);
        series.high.assign(capacity, 0);
        series.low.assign(capacity, 0);
        series.close.assign(capacity, 0);
        series.volume.assign(capacity, 0);
        series.adjustment.assign(capacity, 0);
    } catch (const std::bad_alloc&) {
        series = StockSeries{};
        return false;
    }
    series.length = 0;
    return true;
}

DataError loadOne(PriceDatabase& db) {
    BinaryFile file;
    if (!file.open(db.path)) {
        return DataError::OpenFailed;
    }
    unsigned char header[4];
    file.readZeroFilled(header, sizeof header);
    db.stockSlots = readU16(header);
    db.dateSlots = readU16(header + 2);

    std::vector<unsigned char> raw;
    try {
        raw.resize(size_t{db.dateSlots} * 3);
    } catch (const std::bad_alloc&) {
        return DataError::OutOfMemory;
    }
    if (!file.seek(4 + int64_t{16} * db.stockSlots)) {
        return DataError::SeekFailed;
    }
    file.readZeroFilled(raw.data(), raw.size());
    uint16_t validDates = 0;
    while (validDates < db.dateSlots && raw[size_t{validDates} * 3 + 1] != 0) {
        ++validDates;
    }
    db.validDates = validDates;
    db.dates.resize(validDates);
    for (uint16_t i = 0; i < validDates; ++i) {
        db.dates[i] =
            PackedDate{raw[size_t{i} * 3], raw[size_t{i} * 3 + 1], raw[size_t{i} * 3 + 2]};
    }

    try {
        raw.assign(size_t{db.stockSlots} * 4, 0);
    } catch (const std::bad_alloc&) {
        return DataError::OutOfMemory;
    }
    if (!file.seek(4 + int64_t{12} * db.stockSlots)) {
        return DataError::SeekFailed;
    }
    file.readZeroFilled(raw.data(), raw.size());
    uint16_t validStocks = 0;
    while (validStocks < db.stockSlots && readI32(&raw[size_t{validStocks} * 4]) != 0) {
        ++validStocks;
    }
    db.validStocks = validStocks;
    db.keys.resize(validStocks);
    for (uint16_t i = 0; i < validStocks; ++i) {
        db.keys[i] = readI32(&raw[size_t{i} * 4]);
    }
    db.priceAreaOffset = 4 + int64_t{16} * db.stockSlots + int64_t{3} * db.dateSlots;
    db.stockSlot = -1;
    return DataError::None;
}

// The stock's block of one file into blockBuffer. A failed read raises the data error, which
// releases the market data, db included: the caller must only return.
bool readStockBlock(MarketData& md, const PriceDatabase& db) {
    const DataError error = readBlock(md, db, db.stockSlot, db.validDates);
    if (error != DataError::None) {
        raiseDataError(md, error);
        return false;
    }
    return true;
}

}  // namespace

bool matchesDatabasePattern(const std::string& name) {
    // "DBW.*" also matches a bare "DBW", as the Windows pattern does.
    if (name.size() < 3) {
        return false;
    }
    if (foldCase(name[0]) != 'D' || foldCase(name[1]) != 'B' || foldCase(name[2]) != 'W') {
        return false;
    }
    return name.size() == 3 || name[3] == '.';
}

int compareFileNames(const std::string& a, const std::string& b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = foldCase(static_cast<unsigned char>(a[i]));
        unsigned char cb = foldCase(static_cast<unsigned char>(b[i]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void raiseDataError(MarketData& md, DataError code) {
    md.dataError = code;
    md.dataAborted = true;
    releaseMarketData(md);
}

DataError scanPriceDatabases(MarketData& md) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(md.dataDirectory, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (!matchesDatabasePattern(name)) {
            continue;
        }
        if (names.size() == kMaxPriceDatabases) {
            raiseDataError(md, DataError::TooManyDatabases);
            return DataError::TooManyDatabases;
        }
        names.push_back(name);
    }
    if (names.empty()) {
        raiseDataError(md, DataError::NoDatabase);
        return DataError::NoDatabase;
    }
    // The directory lists in no fixed order here; start from byte order so that names equal
    // but for case always end in the same order.
    std::sort(names.begin(), names.end());
    for (size_t i = 0; i + 1 < names.size(); ++i) {
        size_t smallest = i;
        for (size_t j = i + 1; j < names.size(); ++j) {
            if (compareFileNames(names[j], names[smallest]) < 0) {
                smallest = j;
            }
        }
        std::swap(names[i], names[smallest]);
    }
    md.set = PriceDatabaseSet{};
    md.set.fileCount = static_cast<int>(names.size());
    md.set.files.resize(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        md.set.files[i].path = (fs::path(md.dataDirectory) / names[i]).string();
    }
    return DataError::None;
}

DataError loadPriceDatabases(MarketData& md) {
    int64_t dateCount = 0;
    for (PriceDatabase& db : md.set.files) {
        DataError error = loadOne(db);
        if (error != DataError::None) {
            raiseDataError(md, error);
            return error;
        }
        dateCount += db.validDates;
    }
    md.set.dateCount = static_cast<int32_t>(dateCount);
    md.tablesAllocated = true;
    return DataError::None;
}

int findStock(MarketData& md, StockKey key) {
    int found = -1;
    for (PriceDatabase& db : md.set.files) {
        auto it = std::find(db.keys.begin(), db.keys.end(), key);
        db.stockSlot = it == db.keys.end() ? -1 : static_cast<int32_t>(it - db.keys.begin());
        if (db.stockSlot != -1) {
            found = 0;
        }
    }
    return found;
}

int readStockSeries(MarketData& md) {
    releaseStockSeries(md);
    std::vector<PriceDatabase>& files = md.set.files;

    // The series starts at the first traded date of the stock.
    size_t startFile = files.size();
    size_t startIndex = 0;
    for (size_t f = 0; f < files.size() && startFile == files.size(); ++f) {
        const PriceDatabase& db = files[f];
        if (db.stockSlot == -1) {
            continue;
        }
        if (!readStockBlock(md, db)) {
            return kSeriesDataError;
        }
        for (size_t k = 0; k < db.validDates; ++k) {
            if (readI32(&md.blockBuffer[k * kPriceRecordSize + 4]) != 0) {
                startFile = f;
                startIndex = k;
                break;
            }
        }
    }
    if (startFile == files.size()) {
        return kSeriesNoTrade;
    }

    size_t capacity = files[startFile].validDates - startIndex;
    for (size_t f = startFile + 1; f < files.size(); ++f) {
        capacity += files[f].validDates;
    }
    if (!allocateSeries(md.series, capacity)) {
        raiseDataError(md, DataError::OutOfMemory);
        return kSeriesDataError;
    }
    md.seriesAllocated = true;

    const PriceDatabase& first = files[startFile];
    for (size_t k = startIndex; k < first.validDates; ++k) {
        appendRecord(md.series, first.dates[k], &md.blockBuffer[k * kPriceRecordSize]);
    }
    for (size_t f = startFile + 1; f < files.size(); ++f) {
        const PriceDatabase& db = files[f];
        if (db.stockSlot == -1) {
            continue;
        }
        if (!readStockBlock(md, db)) {
            return kSeriesDataError;
        }
        for (size_t k = 0; k < db.validDates; ++k) {
            appendRecord(md.series, db.dates[k], &md.blockBuffer[k * kPriceRecordSize]);
        }
    }
    return kSeriesBuilt;
}

DataError readPriceBlock(MarketData& md, const PriceDatabase& db, int32_t slot) {
    return readBlock(md, db, slot, db.validDates);
}

bool holdPriceFiles(MarketData& md) {
    for (const PriceDatabase& db : md.set.files) {
        if (db.heldFile) {
            return false;
        }
    }
    for (PriceDatabase& db : md.set.files) {
        try {
            auto file = std::make_shared<BinaryFile>();
            if (file->open(db.path)) {
                file->mapWhole();
                db.heldFile = std::move(file);
            }
        } catch (const std::bad_alloc&) {
            // This file is then opened per read.
        }
    }
    return true;
}

void releaseHeldPriceFiles(MarketData& md) {
    for (PriceDatabase& db : md.set.files) {
        db.heldFile.reset();
    }
}

void releaseStockSeries(MarketData& md) {
    if (md.seriesAllocated) {
        md.series = StockSeries{};
        md.seriesAllocated = false;
    }
}

void releasePriceDatabases(MarketData& md) {
    if (md.tablesAllocated) {
        md.set.files.clear();
        md.set.files.shrink_to_fit();
        md.set.fileCount = 0;
        md.set.dateCount = 0;
        md.tablesAllocated = false;
    }
}

void releaseMarketData(MarketData& md) {
    releaseStockSeries(md);
    releasePriceDatabases(md);
}

}  // namespace zepa
