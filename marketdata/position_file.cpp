#include "marketdata/position_file.h"

#include <algorithm>

#include "base/parse_int.h"
#include "marketdata/text_file.h"

namespace zepa {
namespace {

constexpr size_t kLineBufferSize = 200;

// Columns first..last (1-based, inclusive) of the space-padded line buffer.
std::string_view field(const std::string& buffer, size_t first, size_t last) {
    return std::string_view(buffer).substr(first - 1, last - first + 1);
}

std::string withoutSpaces(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c != ' ') {
            out.push_back(c);
        }
    }
    return out;
}

// The four fields of one leg, starting at the code column.
bool parseLeg(const std::string& buffer, size_t codeColumn, size_t codeWidth, PositionLeg& leg) {
    std::string_view code = field(buffer, codeColumn, codeColumn + codeWidth - 1);
    size_t letterAt = code.find_first_not_of(' ');
    if (letterAt == std::string_view::npos) {
        return false;
    }
    leg.marketLetter[0] = code[letterAt];
    leg.marketLetter[1] = '\0';
    leg.stockCode = parseInt(code.substr(letterAt + 1, 5));

    size_t nameColumn = codeColumn + codeWidth + 1;
    std::string name = withoutSpaces(field(buffer, nameColumn, nameColumn + 8));
    if (name.size() > 6) {
        name.resize(6);
    }
    while (name.size() <= 4) {
        name += "\x81\x40";  // full-width space
    }
    leg.shortName = name;

    size_t dateColumn = nameColumn + 10;
    int32_t date = parseInt(withoutSpaces(field(buffer, dateColumn, dateColumn + 8)));
    leg.entryDate = date > 100 ? date : 0;

    size_t quantityColumn = dateColumn + 10;
    int32_t quantity = parseInt(withoutSpaces(field(buffer, quantityColumn, quantityColumn + 8)));
    leg.quantity = quantity < 0 ? 0 : quantity;
    return true;
}

}  // namespace

bool parsePositionLine(std::string_view line, PositionRecord& record) {
    // The line ends at a NUL byte as it would in a C string buffer.
    line = line.substr(0, line.find('\0'));
    if (!line.empty() && line[0] == '#') {
        return false;
    }
    std::string buffer(kLineBufferSize, ' ');
    std::copy_n(line.begin(), std::min(line.size(), kLineBufferSize - 1), buffer.begin());
    PositionRecord parsed;
    if (!parseLeg(buffer, 1, 8, parsed.buy) || !parseLeg(buffer, 40, 8, parsed.sell)) {
        return false;
    }
    record = parsed;
    return true;
}

int readPositionFile(const std::string& path, PositionTable& table, bool* missing) {
    TextFile file;
    if (!file.open(path)) {
        if (missing != nullptr) {
            *missing = true;
        }
        return 0;
    }
    if (missing != nullptr) {
        *missing = false;
    }
    table.positionCount = 0;
    std::string line;
    PositionRecord record;
    while (table.positionCount < kMaxPositions && file.readLine(line)) {
        std::string_view text(line);
        text = text.substr(0, text.find('\0'));
        if (!text.empty() && text.back() == '\n') {
            text.remove_suffix(1);
        }
        if (!parsePositionLine(text, record)) {
            continue;
        }
        if (table.records.size() <= static_cast<size_t>(table.positionCount)) {
            table.records.push_back(record);
        } else {
            table.records[table.positionCount] = record;
        }
        ++table.positionCount;
    }
    return table.positionCount;
}

std::string positionFileMissingMessage(const std::string& path) {
    return path + "  が、ありません";
}

}  // namespace zepa
