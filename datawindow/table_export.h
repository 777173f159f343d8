// The data windows' rows taken elsewhere: as tab-separated text for the clipboard and as a CSV
// file for a spreadsheet. Cells are the texts the window draws, without their padding.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "chart/chart_context.h"

namespace zepa {

// The header and every row, tab-separated, one line each (LF), UTF-8.
std::string dataTableTsv(const ChartContext& c, int kind);

// The same as CSV: UTF-8 with a byte-order mark (so a spreadsheet keeps the Japanese), CR LF
// line ends, a cell quoted where it holds a comma, a quote or a line break.
std::string dataTableCsv(const ChartContext& c, int kind);

// The file name offered for saving, UTF-8: both legs' market letters and codes and the
// window's title, "T7203-T6758_さやデータ.csv".
std::string dataTableFileName(const PositionRecord& position, int kind);

// Writes the bytes to a new file beside `path` (UTF-8) and renames it over `path`, so that a failed
// write never leaves a cut file under the chosen name. False when any step failed; the
// temporary file is then removed.
bool saveFileReplacing(const std::string& path, std::string_view bytes);

}  // namespace zepa
