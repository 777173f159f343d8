// The two data windows, "さやデータ" (kind 0) and "株価データ" (kind 1), as plain code: the row
// texts, the column layout, the scroll arithmetic, the stored placement and the painting of a
// page. The Qt window only forwards its events here and copies the picture to the screen.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chart/chart_context.h"
#include "chart/surface.h"
#include "settings/value_store.h"

namespace zepa {

inline constexpr int kSpreadDataKind = 0;
inline constexpr int kStockDataKind = 1;
inline constexpr int kDataColumnCount = 5;
// The spread data window adds the ratio and its z while the ratio chart is on.
inline constexpr int kMaxDataColumnCount = 7;
inline constexpr int32_t kDataRowGap = 4;
// Added to the width of the five columns to make the window's width.
inline constexpr int32_t kDataWindowExtraWidth = 27;
inline constexpr int32_t kDataHorizontalPage = 8;
// The face and height of font slot 1, the only font the window uses.
inline constexpr int kDataFontSlot = 1;
inline constexpr int32_t kDataFontHeight = -15;

// The scroll and layout state of the one open data window; pixels unless stated.
struct DataWindowState {
    int kind = kSpreadDataKind;  // the header set the window was opened with
    int columnCount = kDataColumnCount;
    int32_t rowCount = 0;
    int32_t topRow = 0;
    int32_t topRowMax = 0;
    // The page shows the newest rows and keeps showing them through size changes: a window
    // opens so, and a scroll back to the bottom returns to it.
    bool atNewest = true;
    int32_t visibleRows = 0;
    int32_t leftChar = 0;  // character cells
    int32_t leftCharMax = 0;
    std::array<int32_t, kMaxDataColumnCount + 1> columnX{};
    int32_t headerChars = 0;  // cells of the header texts
    int32_t headerHeight = 0;
    int32_t rowGap = kDataRowGap;
    int32_t bodyHeight = 0;
    int32_t windowWidth = 0;
    // Font slot 1's metrics as of the last layout.
    int32_t charWidth = 0;
    int32_t lineHeight = 0;
    int32_t textHeight = 0;  // cell height (the slot table's lastTextHeight)
};

using DataRowTexts = std::vector<std::string>;  // CP932, one per column

// "さやデータ" or "株価データ", UTF-8.
std::string_view dataWindowTitle(int kind);
// The column headers of a kind, CP932, spaces included: the first `columnCount` of them.
DataRowTexts dataHeaderTexts(int kind, int columnCount = kDataColumnCount);
// Columns of a kind under the current settings: 7 for the spread data with the ratio chart on.
int dataColumnCount(const ChartContext& c, int kind);
// Display cells of CP932 text: one per byte, so a full-width character counts two.
int32_t cp932Cells(std::string_view cp932);

// How a cell is written: as the window draws it (CP932, padded, "--" for no value), or for a
// spreadsheet (ISO dates, numbers unpadded at the precision the model holds, no value empty).
enum class CellFormat { Window, Spreadsheet };

// Rows of the series on show: one per slot from firstBar to the newest date.
int32_t dataRowCount(const ChartContext& c);
// The ratio of date slot `slot` as its data-window column shows it, or with `z` its z; the
// blank cell's "--" where the statistics have none.
std::string ratioCell(const ChartContext& c, int32_t slot, bool z,
                      CellFormat format = CellFormat::Window);
// The cells of a row as drawn (dataColumnCount of them); a row at or beyond rowCount is blank.
DataRowTexts formatDataRow(const ChartContext& c, int kind, int32_t row,
                           CellFormat format = CellFormat::Window);

// Column boundaries from the header texts (a header is as wide as its cells), the header band
// from the line height.
void layoutDataColumns(DataWindowState& s, int32_t charWidth, int32_t lineHeight,
                       int32_t textHeight);
// After a size change: the body height (rounded up to whole text lines), the window width and
// then the scroll ranges.
void resizeDataWindow(DataWindowState& s, int32_t clientHeight, int32_t windowWidth);
// Ranges from rowCount, bodyHeight and windowWidth; clamps topRow and leftChar into them, topRow
// at the bottom while atNewest. At the bottom position the last page ends with one blank row.
void updateDataScrollRanges(DataWindowState& s);
int32_t dataRowsPerPage(const DataWindowState& s);

enum class ScrollAction { LineBack, LineForward, PageBack, PageForward, Thumb, Start, End };

// Moves topRow (rows) or leftChar (character cells) by the action, clamped to the range;
// returns the step taken, 0 when nothing moved.
int32_t scrollDataRows(DataWindowState& s, ScrollAction action, int32_t thumb = 0);
int32_t scrollDataColumns(DataWindowState& s, ScrollAction action, int32_t thumb = 0);

// The keys the window acts on; every other key is consumed and does nothing.
enum class DataKey {
    Enter,
    Escape,
    Up,
    Down,
    PageUp,
    PageDown,
    Left,
    Right,
    Home,
    End,
    T,
    B,
    Other
};
// Scrolls for the key; true when the key closes the window.
bool dataWindowKey(DataWindowState& s, DataKey key, bool shift);

// Where the window opens: the stored "ChildPos_SY<kind>" (left, top, width, height) when all four
// numbers convert, else 50, 50, 400, 300; then the width is the columns' plus 27 and negative
// coordinates become 0. Needs the column layout.
struct DataWindowRect {
    int32_t left = 50;
    int32_t top = 50;
    int32_t width = 400;
    int32_t height = 300;
};
std::string dataPlacementName(int kind);
DataWindowRect dataWindowPlacement(ValueStore& store, const DataWindowState& s);
void storeDataWindowPlacement(ValueStore& store, int kind, const DataWindowRect& r);

// A whole page for a client area whose bottom is clientBottom: selects font slot 1 of the
// window's own table, then draws the header band, the body, the rows and the grid. The columns
// must have been laid out with that slot's metrics.
void paintDataWindow(DrawingSurface& surface, FontSlotTable& fonts, const ChartContext& c,
                     const DataWindowState& s, int32_t clientBottom);
// Only the rows of the current page (font slot 1 must be selected).
void drawDataRows(DrawingSurface& surface, const ChartContext& c, const DataWindowState& s);

}  // namespace zepa
