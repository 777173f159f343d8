#include "datawindow/table_export.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/table_text.h"
#include "datawindow/data_table.h"

namespace zepa {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// Temporary names tried beside the target before giving up.
constexpr int kTemporaryNames = 100;

// The window's headers without the spaces that centre them or spread their letters.
DataRowTexts exportHeaders(int kind, int columnCount) {
    static const char* const spread[] = {"日付", "さや",   "買 変動", "売 変動",
                                         "利益", "レシオ", "Ｚ値"};
    static const char* const stock[] = {"日付", "買 終値", "買 出来高", "売 終値", "売 出来高"};
    DataRowTexts out;
    const int count = std::clamp(columnCount, 0, kind == kStockDataKind ? 5 : 7);
    for (int k = 0; k < count; ++k) {
        out.emplace_back(kind == kStockDataKind ? stock[k] : spread[k]);
    }
    return out;
}

template <typename Cell>
std::string tableText(const ChartContext& c, int kind, char separator, std::string_view lineEnd,
                      Cell cell) {
    std::string text;
    // Spreadsheet cells are ASCII and the headers UTF-8: no conversion is needed.
    const auto line = [&](const DataRowTexts& cells) {
        for (size_t k = 0; k < cells.size(); ++k) {
            if (k > 0) {
                text += separator;
            }
            text += cell(cells[k]);
        }
        text += lineEnd;
    };
    line(exportHeaders(kind, dataColumnCount(c, kind)));
    const int32_t rows = dataRowCount(c);
    for (int32_t row = 0; row < rows; ++row) {
        line(formatDataRow(c, kind, row, CellFormat::Spreadsheet));
    }
    return text;
}

std::string legName(const PositionLeg& leg) {
    std::string name;
    if (leg.marketLetter[0] > ' ' && leg.marketLetter[0] < 0x7F) {
        name += leg.marketLetter[0];
    }
    return name + std::to_string(leg.stockCode);
}

}  // namespace

std::string dataTableTsv(const ChartContext& c, int kind) {
    return tableText(c, kind, '\t', "\n", [](const std::string& cell) { return cell; });
}

std::string dataTableCsv(const ChartContext& c, int kind) {
    return std::string(kUtf8Bom) + tableText(c, kind, ',', "\r\n", csvQuoted);
}

std::string dataTableFileName(const PositionRecord& position, int kind) {
    return legName(position.buy) + "-" + legName(position.sell) + "_" +
           std::string(dataWindowTitle(kind)) + ".csv";
}

bool saveFileReplacing(const std::string& path, std::string_view bytes) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // Read as UTF-8 everywhere: Windows would otherwise take the bytes in its ANSI code page and
    // miss a name with Japanese in it.
    const fs::path target(
        std::u8string_view(reinterpret_cast<const char8_t*>(path.data()), path.size()));
    fs::path temporary;
    for (int n = 0; n < kTemporaryNames; ++n) {
        fs::path candidate = target;
        candidate += ".tmp" + std::to_string(n);
        if (!fs::exists(fs::symlink_status(candidate, ec))) {
            temporary = candidate;
            break;
        }
    }
    if (temporary.empty()) {
        return false;
    }
    bool written = false;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.close();
            written = !out.fail();
        }
    }
    if (written) {
        fs::rename(temporary, target, ec);
        if (!ec) {
            return true;
        }
    }
    fs::remove(temporary, ec);
    return false;
}

}  // namespace zepa
