#include "marketdata/position_file.h"

#include <algorithm>
#include <utility>

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

// A numeric field reads when, spaces removed, it is empty or a sign and digits.
bool numberReads(std::string_view field) {
    const std::string text = withoutSpaces(field);
    size_t at = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    if (text.empty()) {
        return true;
    }
    if (at == text.size()) {
        return false;
    }
    for (; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9') {
            return false;
        }
    }
    return true;
}

// Columns (1-based, inclusive) of the eight fields; the columns between them are ignored.
constexpr size_t kFieldColumns[8][2] = {{1, 8},   {10, 18}, {20, 28}, {30, 38},
                                        {40, 47}, {49, 57}, {59, 67}, {69, 77}};

// Why a line holding both legs cannot be a position; none when it can.
bool findFault(const std::string& buffer, PositionLineFault& fault) {
    for (const auto& f : kFieldColumns) {
        if (field(buffer, f[0], f[1]).find('\t') != std::string_view::npos) {
            fault = PositionLineFault::Tab;
            return true;
        }
    }
    const std::pair<size_t, PositionLineFault> numbers[] = {{2, PositionLineFault::BuyDate},
                                                            {3, PositionLineFault::BuyQuantity},
                                                            {6, PositionLineFault::SellDate},
                                                            {7, PositionLineFault::SellQuantity}};
    for (const auto& [index, why] : numbers) {
        if (!numberReads(field(buffer, kFieldColumns[index][0], kFieldColumns[index][1]))) {
            fault = why;
            return true;
        }
    }
    return false;
}

const char* faultText(PositionLineFault fault) {
    switch (fault) {
        case PositionLineFault::Tab:
            return "タブで区切られています（項目は決まった桁に空白でそろえます）";
        case PositionLineFault::BuyDate:
            return "買いの建玉日が数字として読めません（例 250704）";
        case PositionLineFault::BuyQuantity:
            return "買いの株数が数字として読めません（例 1000）";
        case PositionLineFault::SellDate:
            return "売りの建玉日が数字として読めません（例 250704）";
        case PositionLineFault::SellQuantity:
            return "売りの株数が数字として読めません（例 1000）";
    }
    return "";
}

}  // namespace

PositionLineKind parsePositionLine(std::string_view line, PositionRecord& record,
                                   PositionLineFault* fault) {
    // The line ends at a NUL byte as it would in a C string buffer.
    line = line.substr(0, line.find('\0'));
    if (!line.empty() && line[0] == '#') {
        return PositionLineKind::Skipped;
    }
    std::string buffer(kLineBufferSize, ' ');
    std::copy_n(line.begin(), std::min(line.size(), kLineBufferSize - 1), buffer.begin());
    PositionRecord parsed;
    if (!parseLeg(buffer, 1, 8, parsed.buy) || !parseLeg(buffer, 40, 8, parsed.sell)) {
        return PositionLineKind::Skipped;
    }
    // Only a line that would have been a position is left out: every line skipped before is
    // skipped as before, without a word.
    PositionLineFault why = PositionLineFault::Tab;
    if (findFault(buffer, why)) {
        if (fault != nullptr) {
            *fault = why;
        }
        return PositionLineKind::Faulty;
    }
    record = parsed;
    return PositionLineKind::Position;
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
    table.lines.clear();
    table.problems.clear();
    std::string line;
    PositionRecord record;
    int32_t lineNumber = 0;
    bool lineStarts = true;  // a piece of a line longer than a read continues its line
    while (table.positionCount < kMaxPositions && file.readLine(line)) {
        if (lineStarts) {
            ++lineNumber;
        }
        lineStarts = !line.empty() && line.back() == '\n';
        std::string_view text(line);
        text = text.substr(0, text.find('\0'));
        if (!text.empty() && text.back() == '\n') {
            text.remove_suffix(1);
        }
        PositionLineFault fault = PositionLineFault::Tab;
        const PositionLineKind kind = parsePositionLine(text, record, &fault);
        if (kind == PositionLineKind::Faulty) {
            // A line too long for one read is listed once.
            if (table.problems.empty() || table.problems.back().line != lineNumber) {
                table.problems.push_back({lineNumber, fault});
            }
            continue;
        }
        if (kind != PositionLineKind::Position) {
            continue;
        }
        if (table.records.size() <= static_cast<size_t>(table.positionCount)) {
            table.records.push_back(record);
        } else {
            table.records[table.positionCount] = record;
        }
        table.lines.push_back(lineNumber);
        ++table.positionCount;
    }
    return table.positionCount;
}

std::string positionProblemsMessage(const std::vector<PositionLineProblem>& problems) {
    if (problems.empty()) {
        return {};
    }
    std::string text = "建玉ファイルの次の行は建玉として読めないため、表示しません。\n";
    for (size_t i = 0; i < problems.size() && i < kListedProblems; ++i) {
        text += "\n" + std::to_string(problems[i].line) + " 行目：" + faultText(problems[i].fault);
    }
    if (problems.size() > kListedProblems) {
        text += "\nほか " + std::to_string(problems.size() - kListedProblems) + " 行";
    }
    return text;
}

std::string positionFileMissingMessage(const std::string& path) {
    return path + "  が、ありません";
}

}  // namespace zepa
