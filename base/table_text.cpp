#include "base/table_text.h"

#include <charconv>
#include <system_error>

namespace zepa {
namespace {

template <typename Cell>
std::string cellsText(const TextRows& rows, char separator, std::string_view lineEnd, Cell cell) {
    std::string text;
    for (const std::vector<std::string>& row : rows) {
        for (size_t k = 0; k < row.size(); ++k) {
            if (k > 0) {
                text += separator;
            }
            text += cell(row[k]);
        }
        text += lineEnd;
    }
    return text;
}

std::string tsvCell(std::string_view cell) {
    std::string out(cell);
    for (char& c : out) {
        if (c == '\t' || c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return out;
}

}  // namespace

std::string shortestReal(double v) {
    if (v == 0.0) {
        return "0";
    }
    char text[64];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, v);
    return ec == std::errc() ? std::string(text, end) : std::string();
}

std::string csvQuoted(std::string_view cell) {
    if (cell.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(cell);
    }
    std::string quoted = "\"";
    for (const char c : cell) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

std::string cellsTsv(const TextRows& rows) {
    return cellsText(rows, '\t', "\n", tsvCell);
}

std::string cellsCsv(const TextRows& rows, std::string (*cell)(std::string_view)) {
    return "\xEF\xBB\xBF" + cellsText(rows, ',', "\r\n", cell);
}

}  // namespace zepa
