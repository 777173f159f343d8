#include "marketdata/listing_file.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>
#include <system_error>

#include "base/file_bytes.h"
#include "base/utf8.h"

namespace zepa {
namespace {

namespace fs = std::filesystem;

enum Field {
    kCode,
    kName,
    kSector17Code,
    kSector17Name,
    kSector33Code,
    kSector33Name,
    kMarketCode,
    kScaleCategory,
    kMarginCode,
    kFieldCount
};
constexpr std::array<std::string_view, kFieldCount> kFieldNames = {
    "Code",         "Name",
    "Sector17Code", "Sector17CodeName",
    "Sector33Code", "Sector33CodeName",
    "MarketCode",   "ScaleCategory",
    "MarginCode"};

std::string located(const std::string& path, uint32_t line, std::string_view what) {
    return path + ":" + std::to_string(line) + ": " + std::string(what);
}

bool equalsFolded(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

// Splits a line into cells. A cell is plain text without quotes, or quoted as a whole with ""
// standing for one quote. Returns nullptr, or what is wrong with the line.
const char* splitCells(std::string_view line, std::vector<std::string>& cells) {
    cells.clear();
    size_t i = 0;
    while (true) {
        std::string cell;
        if (i < line.size() && line[i] == '"') {
            for (++i;; ++i) {
                if (i >= line.size()) {
                    return "a quote is not closed";
                }
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        cell += '"';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell += line[i];
            }
            if (i < line.size() && line[i] != ',') {
                return "text after a closing quote";
            }
        } else {
            const size_t end = std::min(line.find(',', i), line.size());
            cell.assign(line.substr(i, end - i));
            if (cell.find('"') != std::string::npos) {
                return "a quote inside a cell that does not start with one";
            }
            i = end;
        }
        cells.push_back(std::move(cell));
        if (i >= line.size()) {
            return nullptr;
        }
        ++i;  // the comma
    }
}

const char* checkCell(std::string_view cell) {
    if (cell.size() > kMaxListingCell) {
        return "a cell longer than 256 bytes";
    }
    for (char c : cell) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            return "a control character in a cell";
        }
    }
    return nullptr;
}

bool parseCode(std::string_view text, int32_t& code) {
    if (text.size() != 4 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    code = (text[0] - '0') * 1000 + (text[1] - '0') * 100 + (text[2] - '0') * 10 + (text[3] - '0');
    return code != 0;
}

// The file's bytes, at most kMaxListingFileBytes of them.
bool readBounded(const std::string& path, std::string& bytes, std::string& error) {
    switch (readFileBytes(path, bytes, kMaxListingFileBytes)) {
        case FileRead::Read:
            return true;
        case FileRead::TooLarge:
            error = path + ": larger than 16 MiB, which no listing file is";
            return false;
        case FileRead::CannotOpen:
        case FileRead::Failed:
            break;
    }
    error = path + ": cannot be read";
    return false;
}

class Lines {
  public:
    explicit Lines(std::string_view text) : text_(text) {}
    bool next(std::string_view& line) {
        if (pos_ >= text_.size()) {
            return false;
        }
        const size_t end = std::min(text_.find('\n', pos_), text_.size());
        line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        ++number_;
        return true;
    }
    uint32_t number() const { return number_; }

  private:
    std::string_view text_;
    size_t pos_ = 0;
    uint32_t number_ = 0;
};

ListingRead parse(const std::string& path, std::string_view text, ListingTable& out,
                  std::string& error) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    Lines lines(text);
    std::string_view line;
    std::vector<std::string> cells;
    if (!lines.next(line)) {
        error = path + ": empty, not even a header line";
        return ListingRead::Malformed;
    }
    auto refuse = [&](std::string_view what) {
        error = located(path, lines.number(), what);
        return ListingRead::Malformed;
    };
    if (line.size() > kMaxListingLine) {
        return refuse("a line longer than 64 KiB");
    }
    if (const char* problem = splitCells(line, cells)) {
        return refuse(problem);
    }
    std::array<int, kFieldCount> column;
    column.fill(-1);
    for (size_t i = 0; i < cells.size(); ++i) {
        for (int f = 0; f < kFieldCount; ++f) {
            if (equalsFolded(cells[i], kFieldNames[static_cast<size_t>(f)])) {
                if (column[static_cast<size_t>(f)] != -1) {
                    return refuse("the header names " +
                                  std::string(kFieldNames[static_cast<size_t>(f)]) + " twice");
                }
                column[static_cast<size_t>(f)] = static_cast<int>(i);
            }
        }
    }
    if (column[kCode] == -1) {
        return refuse("the header names no Code column");
    }
    const size_t width = cells.size();

    while (lines.next(line)) {
        if (line.empty()) {
            continue;
        }
        if (line.size() > kMaxListingLine) {
            return refuse("a line longer than 64 KiB");
        }
        if (!isValidUtf8(line)) {
            return refuse("not UTF-8 text");
        }
        if (const char* problem = splitCells(line, cells)) {
            return refuse(problem);
        }
        if (cells.size() != width) {
            return refuse(std::to_string(cells.size()) + " cells, the header " +
                          std::to_string(width));
        }
        for (const std::string& cell : cells) {
            if (const char* problem = checkCell(cell)) {
                return refuse(problem);
            }
        }
        auto cell = [&](Field f) -> std::string {
            return column[f] == -1 ? std::string() : cells[static_cast<size_t>(column[f])];
        };
        ListingEntry e;
        const std::string code = cell(kCode);
        if (!parseCode(code, e.stockCode)) {
            return refuse("code \"" + code + "\" is not four digits");
        }
        if (!out.entries.empty() && e.stockCode <= out.entries.back().stockCode) {
            return refuse("code " + code + " after " +
                          std::to_string(out.entries.back().stockCode) +
                          " (one line a code, in code order)");
        }
        const std::string margin = cell(kMarginCode);
        if (margin.size() == 1 && margin[0] >= '1' && margin[0] <= '3') {
            e.marginCode = margin[0] - '0';
        } else if (!margin.empty()) {
            return refuse("MarginCode \"" + margin + "\" is not 1, 2 or 3");
        }
        e.name = cell(kName);
        e.sector17Code = cell(kSector17Code);
        e.sector17Name = cell(kSector17Name);
        e.sector33Code = cell(kSector33Code);
        e.sector33Name = cell(kSector33Name);
        e.marketCode = cell(kMarketCode);
        e.scaleCategory = cell(kScaleCategory);
        out.entries.push_back(std::move(e));
    }
    markListingColumns(out);
    return ListingRead::Read;
}

}  // namespace

ListingRead readListingFile(const std::string& path, ListingTable& out, std::string& error) {
    out = ListingTable{};
    error.clear();
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) {
        return ListingRead::Absent;
    }
    if (status.type() != fs::file_type::regular) {
        error = path + ": not a file";
        return ListingRead::Malformed;
    }
    std::string bytes;
    if (!readBounded(path, bytes, error)) {
        return ListingRead::Malformed;
    }
    const ListingRead result = parse(path, bytes, out, error);
    if (result != ListingRead::Read) {
        out = ListingTable{};
    }
    return result;
}

void markListingColumns(ListingTable& table) {
    table.hasSector17 = table.hasSector33 = table.hasMargin = false;
    for (const ListingEntry& e : table.entries) {
        table.hasSector17 = table.hasSector17 || !e.sector17Code.empty();
        table.hasSector33 = table.hasSector33 || !e.sector33Code.empty();
        table.hasMargin = table.hasMargin || e.marginCode != kMarginUnknown;
    }
}

const ListingEntry* findListing(const ListingTable& table, int32_t stockCode) {
    const auto it =
        std::lower_bound(table.entries.begin(), table.entries.end(), stockCode,
                         [](const ListingEntry& e, int32_t code) { return e.stockCode < code; });
    return it != table.entries.end() && it->stockCode == stockCode ? &*it : nullptr;
}

}  // namespace zepa
