#include "import/names_file.h"

#include <algorithm>
#include <array>
#include <set>
#include <utility>

#include "base/codepage.h"
#include "base/utf8.h"
#include "import/csv_reader.h"
#include "import/field_values.h"
#include "import/text_input.h"

namespace zepa {
namespace {

constexpr int kListingColumns = 7;
constexpr ListingField kListingOrder[kListingColumns] = {
    ListingField::Sector17Code, ListingField::Sector17Name, ListingField::Sector33Code,
    ListingField::Sector33Name, ListingField::MarketCode,   ListingField::ScaleCategory,
    ListingField::MarginCode};

std::string text(std::string_view field) {
    const std::string_view t = trimField(field);
    return isMissingValue(t) ? std::string() : std::string(cutUtf8(t, kMaxListingCell));
}

// One spelling per industry: the vendor writes the 33-industry code with four digits (0050),
// the exchange's list without the leading zeros (50); the 17-industry code the other way round.
std::string industryCode(std::string_view field, size_t digits) {
    std::string code = text(field);
    if (code.empty() || code.size() > 4 ||
        !std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return code;
    }
    code.erase(0, std::min(code.find_first_not_of('0'), code.size() - 1));
    if (code.size() < digits) {
        code.insert(0, digits - code.size(), '0');
    }
    return code;
}

}  // namespace

bool readNamesFile(const std::string& path, NamesFile& out, ImportReport& report) {
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        report.errors.push_back(path + ": cannot be read");
        return false;
    }
    return readNamesText(path, std::move(bytes), out, report);
}

bool readNamesText(const std::string& path, std::string bytes, NamesFile& out,
                   ImportReport& report) {
    bool cp932 = false;
    if (decodeText(bytes, cp932) != TextResult::Ok) {
        report.errors.push_back(path + ": UTF-16 text; save it as UTF-8 or Shift-JIS");
        return false;
    }
    LineCursor lines(bytes);
    CsvHeader header;
    std::string duplicate;
    if (findHeader(lines, {Column::Code, Column::Name}, header, duplicate) != HeaderResult::Found) {
        report.errors.push_back(path +
                                ": no header line naming the code and name columns "
                                "(Code/コード/銘柄コード, CompanyName/Name/銘柄名)");
        return false;
    }
    const size_t codeField = static_cast<size_t>(header.index[static_cast<size_t>(Column::Code)]);
    const size_t nameField = static_cast<size_t>(header.index[static_cast<size_t>(Column::Name)]);
    std::array<int, kListingColumns> listingField;
    listingField.fill(-1);
    for (size_t i = 0; i < header.cells.size(); ++i) {
        const auto f = listingFieldOfHeader(header.cells[i]);
        for (int c = 0; f && c < kListingColumns; ++c) {
            if (kListingOrder[c] == *f && listingField[static_cast<size_t>(c)] == -1) {
                listingField[static_cast<size_t>(c)] = static_cast<int>(i);
                out.listingFields |= static_cast<ListingFields>(*f);
            }
        }
    }
    std::set<int32_t> listed;
    std::vector<std::string_view> fields;
    std::string scratch;
    std::string_view line;
    while (lines.next(line)) {
        if (splitFields(line, header.delimiter, fields, scratch) != 0 ||
            fields.size() <= std::max(codeField, nameField)) {
            continue;
        }
        int32_t code = 0;
        if (parseStockCode(trimField(fields[codeField]), code) != CodeResult::Ok) {
            continue;
        }
        const std::string_view name = trimField(fields[nameField]);
        if (!name.empty()) {
            out.names.emplace(code, cutCp932(cp932FromUtf8(name), 12));
        }
        if (out.listingFields == 0 || !listed.insert(code).second) {
            continue;
        }
        auto field = [&](int c) {
            const int at = listingField[static_cast<size_t>(c)];
            return at >= 0 && static_cast<size_t>(at) < fields.size()
                       ? fields[static_cast<size_t>(at)]
                       : std::string_view();
        };
        ListingEntry e;
        e.stockCode = code;
        e.name = text(name);
        e.sector17Code = industryCode(field(0), 0);
        e.sector17Name = text(field(1));
        e.sector33Code = industryCode(field(2), 4);
        e.sector33Name = text(field(3));
        e.marketCode = text(field(4));
        e.scaleCategory = text(field(5));
        const std::string margin = text(field(6));
        if (margin == "1" || margin == "2" || margin == "3") {
            e.marginCode = margin[0] - '0';
        } else if (!margin.empty() && report.warnings.size() < kMaxReportedErrors) {
            report.warnings.push_back(path + ":" + std::to_string(lines.lineNumber()) +
                                      ": MarginCode \"" + margin +
                                      "\" is not 1, 2 or 3 (信用, 貸借, other): left empty");
        }
        out.listing.push_back(std::move(e));
    }
    return true;
}

}  // namespace zepa
