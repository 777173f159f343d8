#include "datawindow/data_table.h"

#include <algorithm>
#include <cstdio>

#include "base/codepage.h"
#include "base/table_text.h"
#include "chart/chart_geometry.h"
#include "chart/primitives.h"
#include "marketdata/position_figures.h"
#include "settings/chart_values.h"

namespace zepa {
namespace {

// A cell with nothing to show: nine characters, like the numbers it stands for.
constexpr const char* kNoValue = "      -- ";
constexpr const char* kBlankDate = "          ";
constexpr const char* kBlankCell = "         ";

// Colour table indices of the data windows.
constexpr int kFrameLineColor = 0;
constexpr int kBodyColor = 7;
constexpr int kGridColor = 8;
constexpr int kHeaderTopColor = 12;
constexpr int kHeaderColor = 13;
constexpr int kHeaderTextColor = 14;

template <typename... Args>
std::string formatCell(const char* format, Args... args) {
    char text[64];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

// A cell with nothing to show in the given format.
std::string noValue(CellFormat f) {
    return f == CellFormat::Window ? kNoValue : std::string();
}

// value / 10^decimals written out exactly, without trailing zeros: 202300, 4 -> "20.23".
std::string exactDecimal(int64_t value, int decimals) {
    std::string digits =
        std::to_string(value < 0 ? -static_cast<uint64_t>(value) : static_cast<uint64_t>(value));
    if (digits.size() <= static_cast<size_t>(decimals)) {
        digits.insert(0, static_cast<size_t>(decimals) + 1 - digits.size(), '0');
    }
    std::string whole = digits.substr(0, digits.size() - static_cast<size_t>(decimals));
    std::string fraction = digits.substr(whole.size());
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.pop_back();
    }
    return (value < 0 ? "-" : "") + whole + (fraction.empty() ? "" : "." + fraction);
}

DataRowTexts makeHeaders(const char* const (&utf8)[kMaxDataColumnCount]) {
    DataRowTexts out;
    for (const char* text : utf8) {
        out.push_back(cp932FromUtf8(text));
    }
    return out;
}

int32_t rowPitch(const DataWindowState& s) {
    return std::max<int32_t>(1, s.lineHeight + s.rowGap);
}

int32_t clampStep(int64_t step, int32_t position, int32_t maximum) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(step, -int64_t{position}, int64_t{maximum} - position));
}

// Slots on both bar arrays; a series that was never built has none.
int32_t availableSlots(const ChartContext& c) {
    const auto bars = std::min(c.series.buyBars.size(), c.series.sellBars.size());
    return static_cast<int32_t>(
        std::min<int64_t>(std::max(0, c.dateCount), static_cast<int64_t>(bars)));
}

int32_t firstRowSlot(const ChartContext& c) {
    return std::max(0, c.series.firstBar);
}

std::string dateCell(PackedDate d, CellFormat f) {
    if (f == CellFormat::Spreadsheet) {
        return formatCell("%04d-%02d-%02d", calendarYear(d), int{d.month}, int{d.day});
    }
    const int year = d.year >= 30 ? d.year - 30 : d.year + 70;
    return formatCell("%2d/%2d/%2d", year, int{d.month}, int{d.day});
}

std::string changeRateCell(const ChartContext& c, Leg leg, int32_t slot, int32_t entryBar,
                           CellFormat f) {
    // A close of 0 gives no rate at all, not a division by zero.
    double rate = 0.0;
    if (slot < entryBar || storedBars(c.series, leg)[static_cast<size_t>(slot)].close == 0 ||
        !shownChangeRate(c.series, leg, slot, c.settings.changeRateOfEntry == 1, rate)) {
        return noValue(f);
    }
    if (f == CellFormat::Spreadsheet) {
        return shortestReal(rate);
    }
    // The sell leg's rate is multiplied by -100, so its entry row reads "-0.0", as traders
    // know it.
    return formatCell("%9.1f", rate);
}

// The spread of the prices on show, as the spread chart draws it.
std::string spreadCell(const ChartContext& c, int32_t slot, CellFormat f) {
    const DayBar& buy = shownBars(c.series, Leg::Buy)[static_cast<size_t>(slot)];
    const DayBar& sell = shownBars(c.series, Leg::Sell)[static_cast<size_t>(slot)];
    int64_t b = 0;
    int64_t s = 0;
    if (c.settings.spreadSource == 0) {
        if (buy.close <= 0 || sell.close <= 0) {
            return noValue(f);
        }
        b = buy.close;
        s = sell.close;
    } else {
        // As in the chart: before a leg's first real average there is no average to subtract.
        if (!hasAverage(legBars(c, Leg::Buy), slot) || !hasAverage(legBars(c, Leg::Sell), slot)) {
            return noValue(f);
        }
        b = buy.average;
        s = sell.average;
    }
    return formatCell(f == CellFormat::Window ? "%9lld" : "%lld",
                      static_cast<long long>(c.settings.spreadBase == 0 ? s - b : b - s));
}

std::string profitCell(const ChartContext& c, int32_t slot, CellFormat f) {
    const SpreadSeries& series = c.series;
    const int32_t entry = std::min(series.buyEntryBar, series.sellEntryBar);
    if (entry < 0 || slot < entry) {
        return noValue(f);
    }
    const int64_t yen = positionProfit(series, c.position, slot);
    if (f == CellFormat::Spreadsheet) {
        return exactDecimal(yen, 4);  // the window's unit of 10,000 yen, to the yen
    }
    // In units of 10,000 yen; losses and small profits keep one decimal.
    const auto p = static_cast<float>(static_cast<double>(yen) * 0.0001);
    return formatCell(p >= 10.0f ? "%+9.0f" : "%+9.1f", static_cast<double>(p));
}

std::string closeCell(const DayBar& bar, int32_t slot, int32_t start, CellFormat f) {
    return slot < start ? noValue(f)
                        : formatCell(f == CellFormat::Window ? "%9lld" : "%lld",
                                     static_cast<long long>(bar.close));
}

// Daily volumes in thousands of shares, weekly ones in hundreds; decimals only where needed.
std::string volumeCell(const DayBar& bar, int32_t slot, int32_t start, int32_t weeklyBars,
                       CellFormat f) {
    if (slot < start) {
        return noValue(f);
    }
    const int32_t v = bar.volume;
    if (f == CellFormat::Spreadsheet) {
        return exactDecimal(v, weeklyBars == 0 ? 3 : 2);
    }
    if (weeklyBars == 0) {
        return v % 1000 == 0 ? formatCell("%9lld", static_cast<long long>(v / 1000))
                             : formatCell("%9.3f", v * 0.001);
    }
    return v % 100 == 0 ? formatCell("%9lld", static_cast<long long>(v / 100))
                        : formatCell("%9.2f", v * 0.01);
}

}  // namespace

std::string ratioCell(const ChartContext& c, int32_t slot, bool z, CellFormat f) {
    const RatioSlot* r = ratioSlotAt(c, slot);
    if (r == nullptr || !(z ? r->hasZ : r->hasRatio)) {
        return noValue(f);
    }
    if (f == CellFormat::Spreadsheet) {
        return shortestReal(z ? r->z : r->ratio);
    }
    return z ? formatCell("%+9.2f", r->z) : formatCell("%9.4f", r->ratio);
}

namespace {

void drawDataRow(DrawingSurface& surface, const ChartContext& c, const DataWindowState& s,
                 int32_t row, int32_t originX, int32_t y) {
    const DataRowTexts texts = formatDataRow(c, s.kind, row);
    const int count = std::min(s.columnCount, static_cast<int>(texts.size()));
    for (int k = 0; k < count; ++k) {
        const int32_t indent = k == 0 ? 2 * s.charWidth : s.charWidth;
        surface.textOut(originX + s.columnX[static_cast<size_t>(k)] + indent, y,
                        texts[static_cast<size_t>(k)]);
    }
}

}  // namespace

std::string_view dataWindowTitle(int kind) {
    return kind == kStockDataKind ? "株価データ" : "さやデータ";
}

DataRowTexts dataHeaderTexts(int kind, int columnCount) {
    static const DataRowTexts spread =
        makeHeaders({"    日付    ", "   さ や   ", "  買 変動  ", "  売 変動  ", "   利 益   ",
                     "  レシオ   ", "   Ｚ 値   "});
    static const DataRowTexts stock = makeHeaders(
        {"    日付    ", "  買 終値  ", " 買 出来高 ", "  売 終値  ", " 売 出来高 ", "", ""});
    const DataRowTexts& all = kind == kStockDataKind ? stock : spread;
    const int count =
        std::clamp(columnCount, 0, kind == kStockDataKind ? kDataColumnCount : kMaxDataColumnCount);
    return DataRowTexts(all.begin(), all.begin() + count);
}

int dataColumnCount(const ChartContext& c, int kind) {
    return kind != kStockDataKind && c.settings.ratioChart == 1 ? kMaxDataColumnCount
                                                                : kDataColumnCount;
}

int32_t cp932Cells(std::string_view cp932) {
    return static_cast<int32_t>(cp932.size());
}

int32_t dataRowCount(const ChartContext& c) {
    return std::max(0, availableSlots(c) - firstRowSlot(c));
}

DataRowTexts formatDataRow(const ChartContext& c, int kind, int32_t row, CellFormat f) {
    const int columns = dataColumnCount(c, kind);
    if (row < 0 || row >= dataRowCount(c)) {
        DataRowTexts blank(static_cast<size_t>(columns), kBlankCell);
        blank[0] = kBlankDate;
        return blank;
    }
    const SpreadSeries& series = c.series;
    const int32_t i = firstRowSlot(c) + row;
    // Closes and volumes as the chart shows them.
    const DayBar& buy = shownBars(series, Leg::Buy)[static_cast<size_t>(i)];
    const DayBar& sell = shownBars(series, Leg::Sell)[static_cast<size_t>(i)];
    DataRowTexts out(static_cast<size_t>(columns));
    out[0] = dateCell(buy.date, f);  // the buy bars carry the dates of both legs
    if (kind == kStockDataKind) {
        out[1] = closeCell(buy, i, series.buyStart, f);
        out[2] = volumeCell(buy, i, series.buyStart, c.view.weeklyBars, f);
        out[3] = closeCell(sell, i, series.sellStart, f);
        out[4] = volumeCell(sell, i, series.sellStart, c.view.weeklyBars, f);
    } else {
        out[1] = spreadCell(c, i, f);
        out[2] = changeRateCell(c, Leg::Buy, i, series.buyEntryBar, f);
        out[3] = changeRateCell(c, Leg::Sell, i, series.sellEntryBar, f);
        out[4] = profitCell(c, i, f);
        if (columns == kMaxDataColumnCount) {
            out[5] = ratioCell(c, i, false, f);
            out[6] = ratioCell(c, i, true, f);
        }
    }
    return out;
}

void layoutDataColumns(DataWindowState& s, int32_t charWidth, int32_t lineHeight,
                       int32_t textHeight) {
    s.charWidth = charWidth;
    s.lineHeight = lineHeight;
    s.textHeight = textHeight;
    s.columnCount = std::clamp(s.columnCount, 1, kMaxDataColumnCount);
    const DataRowTexts headers = dataHeaderTexts(s.kind, s.columnCount);
    s.columnCount = static_cast<int>(headers.size());
    int32_t x = 0;
    s.headerChars = 0;
    for (int k = 0; k < s.columnCount; ++k) {
        // The font is monospaced in CP932 cells, so a header is as wide as its cells.
        const int32_t cells = cp932Cells(headers[static_cast<size_t>(k)]);
        s.columnX[static_cast<size_t>(k)] = x;
        x += cells * charWidth;
        s.headerChars += cells;
    }
    s.columnX[static_cast<size_t>(s.columnCount)] = x;
    s.headerHeight = lineHeight + 8;
}

void resizeDataWindow(DataWindowState& s, int32_t clientHeight, int32_t windowWidth) {
    s.bodyHeight = clientHeight - s.headerHeight;
    if (s.textHeight > 0) {
        s.bodyHeight = (s.bodyHeight / s.textHeight + 1) * s.textHeight;
    }
    s.windowWidth = windowWidth;
    updateDataScrollRanges(s);
}

int32_t dataRowsPerPage(const DataWindowState& s) {
    return s.bodyHeight / rowPitch(s);
}

void updateDataScrollRanges(DataWindowState& s) {
    const int32_t rowsPerPage = dataRowsPerPage(s);
    s.visibleRows = std::max(0, std::min(s.rowCount, rowsPerPage));
    s.topRowMax = static_cast<int32_t>(
        std::clamp<int64_t>(int64_t{s.rowCount} + 1 - rowsPerPage, 0, INT32_MAX));
    s.topRow = s.atNewest ? s.topRowMax : std::clamp(s.topRow, 0, s.topRowMax);
    const int32_t shownChars = s.charWidth > 0 ? s.windowWidth / s.charWidth : s.headerChars;
    s.leftCharMax = std::max(0, s.headerChars - shownChars);
    s.leftChar = std::clamp(s.leftChar, 0, s.leftCharMax);
}

namespace {

// The step one scroll action asks for, from position towards 0..maximum.
int64_t scrollStep(ScrollAction action, int32_t position, int32_t maximum, int64_t page,
                   int32_t thumb) {
    switch (action) {
        case ScrollAction::LineBack:
            return -1;
        case ScrollAction::LineForward:
            return 1;
        case ScrollAction::PageBack:
            return -page;
        case ScrollAction::PageForward:
            return page;
        case ScrollAction::Thumb:
            return int64_t{thumb} - position;
        case ScrollAction::Start:
            return -int64_t{position};
        case ScrollAction::End:
            return int64_t{maximum} - position;
    }
    return 0;
}

}  // namespace

int32_t scrollDataRows(DataWindowState& s, ScrollAction action, int32_t thumb) {
    const int64_t page = std::max(1, dataRowsPerPage(s));
    // End stays put while every row fits the page.
    const int64_t step = action == ScrollAction::End && s.visibleRows >= s.rowCount
                             ? 0
                             : scrollStep(action, s.topRow, s.topRowMax, page, thumb);
    const int32_t taken = clampStep(step, s.topRow, s.topRowMax);
    s.topRow += taken;
    s.atNewest = s.topRow == s.topRowMax;
    return taken;
}

int32_t scrollDataColumns(DataWindowState& s, ScrollAction action, int32_t thumb) {
    const int64_t step = scrollStep(action, s.leftChar, s.leftCharMax, kDataHorizontalPage, thumb);
    const int32_t taken = clampStep(step, s.leftChar, s.leftCharMax);
    s.leftChar += taken;
    return taken;
}

bool dataWindowKey(DataWindowState& s, DataKey key, bool shift) {
    switch (key) {
        case DataKey::Enter:
        case DataKey::Escape:
            return true;
        case DataKey::Up:
            scrollDataRows(s, shift ? ScrollAction::PageBack : ScrollAction::LineBack);
            break;
        case DataKey::Down:
            scrollDataRows(s, shift ? ScrollAction::PageForward : ScrollAction::LineForward);
            break;
        case DataKey::PageUp:
            scrollDataRows(s, ScrollAction::PageBack);
            break;
        case DataKey::PageDown:
            scrollDataRows(s, ScrollAction::PageForward);
            break;
        case DataKey::Left:
            scrollDataColumns(s, shift ? ScrollAction::Start : ScrollAction::LineBack);
            break;
        case DataKey::Right:
            scrollDataColumns(s, shift ? ScrollAction::End : ScrollAction::LineForward);
            break;
        case DataKey::Home:
        case DataKey::T:
            scrollDataColumns(s, ScrollAction::Start);
            scrollDataRows(s, ScrollAction::Start);
            break;
        case DataKey::End:
        case DataKey::B:
            scrollDataColumns(s, ScrollAction::Start);
            scrollDataRows(s, ScrollAction::End);
            break;
        case DataKey::Other:
            break;
    }
    return false;
}

std::string dataPlacementName(int kind) {
    return formatCell("ChildPos_SY%1d", kind);
}

DataWindowRect dataWindowPlacement(ValueStore& store, const DataWindowState& s) {
    DataWindowRect r;
    const std::string text = queryChartValue(store, kChartSubkey, dataPlacementName(s.kind));
    std::array<int32_t, 4> v{};
    if (scanIntegerFields(text, v) == 4) {
        r = DataWindowRect{v[0], v[1], v[2], v[3]};
    }
    // Only the stored position and height are kept: the width always fits the columns.
    r.width = s.columnX[static_cast<size_t>(s.columnCount)] + kDataWindowExtraWidth;
    r.left = std::max(0, r.left);
    r.top = std::max(0, r.top);
    return r;
}

void storeDataWindowPlacement(ValueStore& store, int kind, const DataWindowRect& r) {
    storeChartValue(store, kChartSubkey, dataPlacementName(kind),
                    formatCell("%d,%d,%d,%d", r.left, r.top, r.width, r.height));
}

void drawDataRows(DrawingSurface& surface, const ChartContext& c, const DataWindowState& s) {
    surface.setBackgroundMode(BackgroundMode::Opaque);
    surface.setBackgroundColor(c.colors.colors[kBodyColor]);
    surface.setTextColor(c.colors.colors[kFrameLineColor]);
    if (s.rowCount == 0) {
        return;
    }
    const int32_t originX = 1 - s.leftChar * s.charWidth;
    for (int32_t n = 0; n < s.visibleRows; ++n) {
        const int32_t y = n * rowPitch(s) + s.headerHeight + 3;
        drawDataRow(surface, c, s, s.topRow + n, originX, y);
    }
}

void paintDataWindow(DrawingSurface& surface, FontSlotTable& fonts, const ChartContext& c,
                     const DataWindowState& s, int32_t clientBottom) {
    selectFontSlot(surface, fonts, kDataFontSlot, kChartFontFace, kDataFontHeight);
    const auto color = [&](int index) { return c.colors.colors[static_cast<size_t>(index)]; };
    const int32_t B = clientBottom;
    const int32_t hh = s.headerHeight;
    const int32_t xo = -s.leftChar * s.charWidth;
    const int32_t W = xo + s.columnX[static_cast<size_t>(s.columnCount)];
    const auto columnAt = [&](int k) { return xo + s.columnX[static_cast<size_t>(k)]; };

    fillBox(surface, xo, 0, W, hh, color(kHeaderColor));
    drawLine(surface, xo, 0, W, 0, color(kHeaderTopColor), PenStyle::Solid);
    drawLine(surface, xo, hh - 1, W, hh - 1, color(kFrameLineColor), PenStyle::Solid);

    fillBox(surface, xo, hh, W, B, color(kBodyColor));
    drawLine(surface, columnAt(0), hh, columnAt(0), B, color(kFrameLineColor), PenStyle::Solid);
    drawLine(surface, W, hh, W, B, color(kFrameLineColor), PenStyle::Solid);

    surface.setBackgroundMode(BackgroundMode::Opaque);
    surface.setBackgroundColor(color(kHeaderColor));
    surface.setTextColor(color(kHeaderTextColor));
    const DataRowTexts headers = dataHeaderTexts(s.kind, s.columnCount);
    for (int k = 0; k < s.columnCount; ++k) {
        surface.textOut(columnAt(k), 5, headers[static_cast<size_t>(k)]);
        drawLine(surface, columnAt(k), 0, columnAt(k), hh - 1, color(kFrameLineColor),
                 PenStyle::Solid);
    }
    drawLine(surface, W, 0, W, hh - 1, color(kFrameLineColor), PenStyle::Solid);

    drawDataRows(surface, c, s);

    const int32_t pitch = rowPitch(s);
    for (int64_t y = int64_t{pitch} + hh; y <= B; y += pitch) {
        drawLine(surface, xo + 1, static_cast<int32_t>(y), W, static_cast<int32_t>(y),
                 color(kGridColor), PenStyle::Solid);
    }
    for (int k = 1; k < s.columnCount; ++k) {
        drawLine(surface, columnAt(k), hh, columnAt(k), B, color(kGridColor), PenStyle::Solid);
    }
}

}  // namespace zepa
