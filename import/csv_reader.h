// CSV and tab-separated price files: lines (CR LF or LF), quoted fields, the header line found
// by its column names after any title lines, then one row per line.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "import/header_aliases.h"
#include "import/row_collector.h"

namespace zepa {

// The lines of a text, CR LF read as LF, numbered from 1.
class LineCursor {
  public:
    explicit LineCursor(std::string_view text) : text_(text) {}
    bool next(std::string_view& line);
    uint32_t lineNumber() const { return line_; }

  private:
    std::string_view text_;
    size_t pos_ = 0;
    uint32_t line_ = 0;
};

// Splits one line into fields. Quoted fields lose their quotes ("" is one quote), their text
// kept in `scratch`. Returns 0, or the 1-based byte column of an unterminated quote.
size_t splitFields(std::string_view line, char delimiter, std::vector<std::string_view>& fields,
                   std::string& scratch);

struct CsvHeader {
    uint32_t line = 0;
    char delimiter = ',';
    size_t fieldCount = 0;
    std::array<int, kColumnCount> index{};  // field of each column, -1 when absent
    std::array<std::string, kColumnCount> names;
    std::vector<std::string> cells;  // every header cell, trimmed
};

enum class HeaderResult { Found, Missing, Duplicate };

// Looks for the first line naming every column in `required`, skipping the lines before it.
// On Duplicate, `duplicate` names the header given twice and header.line is its line.
HeaderResult findHeader(LineCursor& lines, std::initializer_list<Column> required,
                        CsvHeader& header, std::string& duplicate);

// Reads every row of a price CSV (UTF-8 text) into the collector.
void readCsvPrices(std::string_view text, SourceFile& file, RowCollector& rows);

}  // namespace zepa
