// The chart to the clipboard and to the printer: commands 102, 100 and 101 (kinds 0, 1, 2).
// The clipboard takes the chart area's pixels as the window shows them; the printer takes the
// chart drawn anew for its resolution where the window can draw it, else the shown pixels.
#pragma once

#include <QImage>
#include <QString>

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

// The pixels of `area` (client coordinates, logical pixels) in the window's backing image, a
// copy of all the device pixels under it. Null when the area is empty.
QImage captureChartArea(const QImage& backing, const ChartRect& area);

// Draws the capture with its top-left at the painter's origin, stretched to `size`, each
// source pixel taken or dropped whole (no smoothing).
void drawCapture(QPainter& painter, const QImage& capture, PrintSize size);

// False when the program was built without Qt's print module: printing then ends silently
// where the print dialog would open.
bool chartPrintingAvailable();

// One document with one page on `printer`: the capture centred on the printable area, `scale`
// percent of its size on a screen of the given resolution, made smaller where that does not
// fit the page (where it went in *placed). False when the printer did not start the document.
bool printCapture(QPrinter& printer, const QImage& capture, int screenDpiX, int screenDpiY,
                  float scale, PagePlacement* placed = nullptr);

// The chart area drawn at a whole number of device pixels per logical pixel; null when it
// cannot be.
using ChartRenderer = std::function<QImage(int scale)>;
// The same page with the chart drawn for the printer: a w x h logical chart area is printed at
// the same size as printCapture would print it, from a picture drawn at enough device pixels
// per logical pixel to match the printer's (within a memory bound), smoothly fitted to it.
bool printRendered(QPrinter& printer, int32_t w, int32_t h, const ChartRenderer& render,
                   int screenDpiX, int screenDpiY, float scale, PagePlacement* placed = nullptr);

// How a print dialog starts: the document's name, landscape (the chart is wider than tall), and
// a PDF file in the user's documents folder should the user print to a file.
void preparePrinter(QPrinter& printer);
QString proposedPdfPath();

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
// silently. Returns the status bar's note on a print shrunk to fit (UTF-8), else empty.
std::string outputChart(QWidget* owner, AppContext& a, const QImage& backing, int kind);
std::string outputChart(QWidget* owner, AppContext& a, const QImage& backing, int kind,
                        const ChartOutputDialogs& dialogs, const ChartRenderer& render = {});

}  // namespace zepa
