// The chart to the clipboard and to the printer: commands 102, 100 and 101 (kinds 0, 1, 2).
// All of them take the chart area's pixels as the window shows them now; nothing is redrawn.
#pragma once

#include <QImage>

#include <cstdint>
#include <functional>
#include <string>

#include "app/app_context.h"
#include "app/print_size.h"

class QPainter;
class QPrinter;
class QWidget;

namespace zepa {

inline constexpr const char* kChartDocumentName = "ChartPrint";

// The pixels of `area` (client coordinates) in the window's backing image, a copy. Null when
// the area is empty.
QImage captureChartArea(const QImage& backing, const ChartRect& area);

// Draws the capture with its top-left at the painter's origin, stretched to `size`, each
// source pixel taken or dropped whole (no smoothing).
void drawCapture(QPainter& painter, const QImage& capture, PrintSize size);

// False when the program was built without Qt's print module: printing then ends silently
// where the print dialog would open.
bool chartPrintingAvailable();

// One document with one page on `printer`: the capture at the top-left of the printable area,
// `scale` percent of its size on a screen of the given resolution. False when the printer did
// not start the document.
bool printCapture(QPrinter& printer, const QImage& capture, int screenDpiX, int screenDpiY,
                  float scale);

// What the output asks the user. The window's own dialogs unless a test stands in for them.
struct ChartOutputDialogs {
    // The scale dialog (input dialog mode 4): 220 OK with the text in *inputText, or 221.
    std::function<int32_t(std::string* inputText)> askScale;
    // The print dialog over `printer`: true when the user chose to print.
    std::function<bool(QPrinter& printer)> choosePrinter;
};
ChartOutputDialogs windowOutputDialogs(QWidget* owner, AppContext& a);

// Kind 0 copies the chart area of `backing` to the clipboard, 1 prints it at screen size, 2 at
// a scale the user enters (kept in printScale for the run). Every failure and cancel ends
// silently.
void outputChart(QWidget* owner, AppContext& a, const QImage& backing, int kind);
void outputChart(QWidget* owner, AppContext& a, const QImage& backing, int kind,
                 const ChartOutputDialogs& dialogs);

}  // namespace zepa
