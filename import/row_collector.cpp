#include "import/row_collector.h"

#include <algorithm>
#include <limits>
#include <new>

#include "base/codepage.h"
#include "import/field_values.h"

namespace zepa {
namespace {

constexpr int64_t kMaxPrice = std::numeric_limits<int32_t>::max();
constexpr int64_t kMaxVolume = std::numeric_limits<int32_t>::max();
constexpr int64_t kMaxRange = 65535;  // high - low is stored in 16 bits

constexpr Column kPriceColumns[4] = {Column::Open, Column::High, Column::Low, Column::Close};

const char* numberProblem(NumberResult r) {
    switch (r) {
        case NumberResult::NotANumber:
            return "is not a number";
        case NumberResult::Negative:
            return "is negative";
        case NumberResult::TooLarge:
            return "is larger than a price file can hold";
        case NumberResult::Ok:
            break;
    }
    return "";
}

std::string quoted(std::string_view v) {
    return "\"" + std::string(v) + "\"";
}

}  // namespace

std::string locatedMessage(const std::string& file, uint32_t line, const std::string& what) {
    return line == 0 ? file + ": " + what : file + ":" + std::to_string(line) + ": " + what;
}

std::string RowCollector::columnName(const SourceFile& file, Column c) const {
    const std::string& name = file.headerNames[static_cast<size_t>(c)];
    if (!name.empty()) {
        return name;
    }
    static constexpr const char* kDefault[kColumnCount] = {
        "Date", "Open", "High", "Low", "Close", "Volume", "Code", "Name", "AdjustmentFactor"};
    return kDefault[static_cast<size_t>(c)];
}

void RowCollector::fileError(const SourceFile& file, uint32_t line, const std::string& what) {
    if (report_.errors.size() < kMaxReportedErrors) {
        report_.errors.push_back(locatedMessage(file.displayName, line, what));
    } else {
        ++report_.suppressedErrors;
    }
}

void RowCollector::rowError(const SourceFile& file, uint32_t line, const std::string& what) {
    if (skip_) {
        ++report_.total.skippedBad;
        warning(file, line, what + " (row skipped)");
    } else {
        fileError(file, line, what);
    }
}

void RowCollector::warning(const SourceFile& file, uint32_t line, const std::string& what) {
    if (report_.warnings.size() < kMaxReportedErrors) {
        report_.warnings.push_back(locatedMessage(file.displayName, line, what));
    }
}

void RowCollector::skipCode(const SourceFile& file, uint32_t line, std::string_view codeText,
                            int32_t date) {
    ++report_.total.skippedCode;
    ++report_.skippedCodes[std::string(codeText)];
    if (date != 0) {
        ++yearCounts_[date / 10000].skippedCode;
    }
    if (warnedCodes_.insert(std::string(codeText)).second) {
        warning(file, line,
                "code " + quoted(codeText) +
                    " cannot stand in the position file (four digits, or five ending in 0): its "
                    "rows are skipped");
    }
}

void RowCollector::expectInputBytes(uintmax_t bytes) {
    // The shortest row that holds a date and four prices: "20240104,1,1,1,1\n".
    constexpr uintmax_t kShortestRow = 17;
    const uintmax_t rows = std::min<uintmax_t>(bytes / kShortestRow + 1, uintmax_t{1} << 24);
    try {
        rows_.reserve(static_cast<size_t>(rows));
    } catch (const std::bad_alloc&) {
        // Then the vector grows as it goes.
    }
}

void RowCollector::addRow(const SourceFile& file, uint32_t line, const RowFields& f) {
    ++report_.rowsRead;
    auto v = [&](Column c) { return trimField(f.value[static_cast<size_t>(c)]); };

    const std::string_view dateField = v(Column::Date);
    const int32_t date = parseDate(dateField);
    if (date == 0) {
        rowError(file, line,
                 columnName(file, Column::Date) + " " + quoted(dateField) +
                     " is not a date (YYYY-MM-DD, YYYY/M/D or YYYYMMDD, 1970 to 2225)");
        return;
    }

    int32_t code = 0;
    if (f.present[static_cast<size_t>(Column::Code)]) {
        const std::string_view codeField = v(Column::Code);
        if (parseStockCode(codeField, code) != CodeResult::Ok) {
            skipCode(file, line, codeField, date);
            return;
        }
    } else if (file.fileCode) {
        code = *file.fileCode;
    } else {
        skipCode(file, line, file.fileCodeText, date);
        return;
    }

    int present = 0;
    for (Column c : kPriceColumns) {
        present += isMissingValue(v(c)) ? 0 : 1;
    }
    if (present == 0) {
        ++report_.total.skippedNoPrices;
        ++yearCounts_[date / 10000].skippedNoPrices;
        return;
    }
    if (present != 4) {
        rowError(file, line, "the prices are only partly given (open, high, low, close)");
        return;
    }
    int64_t price[4] = {};
    int rounded = 0;
    for (int i = 0; i < 4; ++i) {
        bool wasRounded = false;
        const NumberResult r =
            parseWholeNumber(v(kPriceColumns[i]), kMaxPrice, price[i], wasRounded);
        if (r != NumberResult::Ok) {
            rowError(file, line,
                     columnName(file, kPriceColumns[i]) + " " + quoted(v(kPriceColumns[i])) + " " +
                         numberProblem(r));
            return;
        }
        rounded += wasRounded ? 1 : 0;
    }
    const int64_t open = price[0], high = price[1], low = price[2], close = price[3];
    if (open == 0 && high == 0 && low == 0 && close == 0) {
        ++report_.total.skippedNoPrices;
        ++yearCounts_[date / 10000].skippedNoPrices;
        return;
    }
    if (high < low) {
        rowError(file, line,
                 "the high " + std::to_string(high) + " is below the low " + std::to_string(low));
        return;
    }
    if (open < low || open > high || close < low || close > high) {
        rowError(file, line, "the open or the close lies outside the day's low and high");
        return;
    }
    if (low == 0) {
        rowError(file, line, "a low of 0 cannot be stored (0 marks a day without trade)");
        return;
    }
    if (high - low > kMaxRange) {
        rowError(file, line,
                 "the day's range (high - low = " + std::to_string(high - low) +
                     ") is above 65,535, which a price file cannot hold");
        return;
    }

    int64_t volume = 0;
    bool volumeCapped = false;
    const std::string_view volumeField = v(Column::Volume);
    if (!isMissingValue(volumeField)) {
        bool wasRounded = false;
        NumberResult r = parseWholeNumber(volumeField, std::numeric_limits<int64_t>::max() / 100,
                                          volume, wasRounded);
        if (r != NumberResult::Ok) {
            rowError(file, line,
                     columnName(file, Column::Volume) + " " + quoted(volumeField) + " " +
                         (r == NumberResult::TooLarge ? "is too large" : numberProblem(r)));
            return;
        }
        if (volume > kMaxVolume) {
            // The viewer reads volumes as 32-bit numbers: larger ones would show negative.
            volume = kMaxVolume;
            volumeCapped = true;
        }
    }

    uint16_t adjustment = 0;
    const std::string_view factorField = v(Column::Factor);
    if (!isMissingValue(factorField) && factorField != "1" && factorField != "1.0") {
        double factor = 0;
        const int32_t a =
            parsePositiveDecimal(factorField, factor) ? adjustmentOfFactor(factor) : -1;
        if (a < 0) {
            rowError(file, line,
                     columnName(file, Column::Factor) + " " + quoted(factorField) +
                         " is not a factor that can be stored (0.01 to 655.35)");
            return;
        }
        adjustment = static_cast<uint16_t>(a);
    }

    const std::string_view name = v(Column::Name);
    if (!name.empty() && !names_.contains(code)) {
        names_.emplace(code, cutCp932(cp932FromUtf8(name), 12));
    }

    if (date / 10000 != lastYear_ || lastCounts_ == nullptr) {
        lastYear_ = date / 10000;
        lastCounts_ = &yearCounts_[lastYear_];  // map nodes stay where they are
    }
    RowCounts& year = *lastCounts_;
    year.pricesRounded += rounded;
    report_.total.pricesRounded += rounded;
    if (volumeCapped) {
        ++year.volumesCapped;
        ++report_.total.volumesCapped;
    }
    rows_.push_back(PriceRow{code, date, static_cast<int32_t>(open), static_cast<int32_t>(high),
                             static_cast<int32_t>(low), static_cast<int32_t>(close), volume,
                             adjustment, file.index, line});
}

}  // namespace zepa
