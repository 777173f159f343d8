// The price database files DBW.* of the data folder: the small tables kept in memory and the
// one stock series read from disk at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "marketdata/binary_file.h"
#include "marketdata/data_error.h"
#include "marketdata/packed_date.h"

namespace zepa {

inline constexpr int kMaxPriceDatabases = 100;
inline constexpr int kPriceRecordSize = 20;
inline constexpr int kStockNameSize = 12;

// StockKey = MarketCode * 100,000,000 + stock code.
using StockKey = int32_t;

// What is kept of one file: its header, valid keys and dates.
struct PriceDatabase {
    std::string path;
    uint16_t stockSlots = 0;
    uint16_t dateSlots = 0;
    uint16_t validStocks = 0;
    uint16_t validDates = 0;
    std::vector<StockKey> keys;     // validStocks entries
    std::vector<PackedDate> dates;  // validDates entries, oldest first
    int64_t priceAreaOffset = 0;
    int32_t stockSlot = -1;  // slot of the stock of the last findStock, -1 if not listed
    // Open while a caller holds the files (holdPriceFiles); else each block read opens the file.
    std::shared_ptr<BinaryFile> heldFile;
};

struct PriceDatabaseSet {
    int fileCount = 0;
    std::vector<PriceDatabase> files;         // in sorted name order
    int32_t dateCount = 0;                    // sum of validDates: the length of the date axis
    char stockName[kStockNameSize + 1] = {};  // from the last block read
};

// One stock's prices across the files, joined in file order.
struct StockSeries {
    int32_t length = 0;
    std::vector<PackedDate> date;
    std::vector<int32_t> open;
    std::vector<int32_t> high;
    std::vector<int32_t> low;
    std::vector<int32_t> close;
    std::vector<int32_t> volume;
    std::vector<uint16_t> adjustment;
};

// The market data of a run: the loaded set, the scratch series, and the fatal error state.
struct MarketData {
    std::string dataDirectory;  // native path of <root>/ZEPAWIN/DATA
    PriceDatabaseSet set;
    bool tablesAllocated = false;
    StockSeries series;
    bool seriesAllocated = false;
    bool dataAborted = false;
    DataError dataError = DataError::None;
    std::vector<unsigned char> blockBuffer;  // reused between block reads
};

// Results of readStockSeries.
inline constexpr int kSeriesBuilt = 0;
inline constexpr int kSeriesNoTrade = -1;
inline constexpr int kSeriesDataError = -3;  // md.dataError tells which; the run must end

// Finds and sorts the files; on failure records the error (1 or 2) and returns it.
DataError scanPriceDatabases(MarketData& md);
// Reads every file's tables and sets dateCount; errors 4, 5, 6.
DataError loadPriceDatabases(MarketData& md);
// Sets stockSlot of every file; 0 if at least one file lists the key, else -1.
int findStock(MarketData& md, StockKey key);
// Builds the series of the stock of the last findStock.
int readStockSeries(MarketData& md);
// Reads the name (into md.set.stockName) and the validDates raw price records (into
// md.blockBuffer) of one stock slot of one loaded file, as readStockSeries reads a block: what
// a tool that rewrites a file merges with.
DataError readPriceBlock(MarketData& md, const PriceDatabase& db, int32_t slot);

// Keeps every loaded file open until releaseHeldPriceFiles, for a caller that reads the blocks
// of many stocks in a row: each file is then opened once, not once per stock (on Windows every
// open and close is a round trip to the system, a read of an open file is not). A file that
// cannot be opened now is opened per read as before. Returns false, holding nothing more, when
// the files are held already.
bool holdPriceFiles(MarketData& md);
void releaseHeldPriceFiles(MarketData& md);

// Holds the files for a scope, unless they were held already.
class HeldPriceFiles {
  public:
    explicit HeldPriceFiles(MarketData& md) : md_(md), held_(holdPriceFiles(md)) {}
    ~HeldPriceFiles() {
        if (held_) {
            releaseHeldPriceFiles(md_);
        }
    }
    HeldPriceFiles(const HeldPriceFiles&) = delete;
    HeldPriceFiles& operator=(const HeldPriceFiles&) = delete;

  private:
    MarketData& md_;
    bool held_;
};

void releaseStockSeries(MarketData& md);
void releasePriceDatabases(MarketData& md);
void releaseMarketData(MarketData& md);

// Records a fatal error: sets dataAborted and releases what is loaded.
void raiseDataError(MarketData& md, DataError code);

// Case-insensitive order of file names, as the sort of the scan uses it.
int compareFileNames(const std::string& a, const std::string& b);
// True for names that DBW.* matches.
bool matchesDatabasePattern(const std::string& name);

}  // namespace zepa
