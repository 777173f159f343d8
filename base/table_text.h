// Tables as text other programs read: tab-separated for the clipboard, CSV for files (UTF-8
// with a BOM and CR LF, as spreadsheets on Windows expect).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zepa {

using TextRows = std::vector<std::vector<std::string>>;

// The shortest text that reads back as the same double ("0" for either zero): a number as a
// spreadsheet takes it, at the precision held.
std::string shortestReal(double v);

// In quotes, with its quotes doubled, when the cell holds a comma, a quote or a line end.
std::string csvQuoted(std::string_view cell);

// A tab or line end inside a cell becomes a space: it would start another cell or row.
std::string cellsTsv(const TextRows& rows);
// `cell` gives each cell's CSV text.
std::string cellsCsv(const TextRows& rows, std::string (*cell)(std::string_view) = csvQuoted);

}  // namespace zepa
