#include "app/window/chart_output.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include <algorithm>

#include "app/window/input_dialog.h"
#include "settings/input_dialog_logic.h"

// Qt can be built, or the program linked, without the print module; the clipboard still works.
#if defined(QT_PRINTSUPPORT_LIB)
#include <QtPrintSupport/qtprintsupportglobal.h>
#if QT_CONFIG(printer) && QT_CONFIG(printdialog)
#include <QPrintDialog>
#include <QPrinter>
#define ZEPA_CHART_PRINTING 1
#endif
#endif

namespace zepa {

namespace {

struct ScreenDpi {
    int x = 0;
    int y = 0;
};

// The logical resolution of the screen the window is on, as whole dots per inch.
ScreenDpi screenDpi(QWidget* owner) {
    QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {};
    }
    return {qRound(screen->logicalDotsPerInchX()), qRound(screen->logicalDotsPerInchY())};
}

void copyToClipboard(const QImage& capture) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return;
    }
    clipboard->setImage(capture);
}

void print(QWidget* owner, AppContext& a, const QImage& capture, int kind,
           const ChartOutputDialogs& dialogs) {
    const ScreenDpi dpi = screenDpi(owner);
    float scale = 100.0f;
    if (kind == kScaledPrint) {
        a.view.inputDialogMode = input_dialog::kPrintScaleMode;
        std::string text;
        a.view.keyCommand = dialogs.askScale ? dialogs.askScale(&text) : -1;
        if (!takeEnteredScale(a.settings, a.view.keyCommand, text, scale)) {
            return;
        }
    }
#if defined(ZEPA_CHART_PRINTING)
    QPrinter printer(QPrinter::HighResolution);
    if (!dialogs.choosePrinter || !dialogs.choosePrinter(printer)) {
        return;
    }
    printCapture(printer, capture, dpi.x, dpi.y, scale);
#else
    (void)dpi;
    (void)capture;
#endif
}

}  // namespace

QImage captureChartArea(const QImage& backing, const ChartRect& area) {
    // Only what the image holds is copied; 64-bit so that a stray rectangle cannot wrap.
    const auto clamp = [](int32_t v, int limit) {
        return static_cast<int>(std::clamp<int64_t>(v, 0, limit));
    };
    const int left = clamp(area.left, backing.width());
    const int right = clamp(area.right, backing.width());
    const int top = clamp(area.top, backing.height());
    const int bottom = clamp(area.bottom, backing.height());
    if (right <= left || bottom <= top) {
        return QImage();
    }
    return backing.copy(QRect(left, top, right - left, bottom - top));
}

void drawCapture(QPainter& painter, const QImage& capture, PrintSize size) {
    if (capture.isNull() || size.width <= 0 || size.height <= 0) {
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // A PDF printer would otherwise be free to store the chart as a JPEG.
    painter.setRenderHint(QPainter::LosslessImageRendering, true);
    painter.drawImage(QRect(0, 0, size.width, size.height), capture);
}

bool chartPrintingAvailable() {
#if defined(ZEPA_CHART_PRINTING)
    return true;
#else
    return false;
#endif
}

bool printCapture([[maybe_unused]] QPrinter& printer, [[maybe_unused]] const QImage& capture,
                  [[maybe_unused]] int screenDpiX, [[maybe_unused]] int screenDpiY,
                  [[maybe_unused]] float scale) {
#if defined(ZEPA_CHART_PRINTING)
    printer.setDocName(QString::fromLatin1(kChartDocumentName));
    // The painter's origin is then the top-left of the printable area, in printer pixels.
    printer.setFullPage(false);
    const int resolution = printer.resolution();
    const PrintSize size = printedSize(capture.width(), capture.height(), resolution, resolution,
                                       screenDpiX, screenDpiY, scale);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    drawCapture(painter, capture, size);
    return painter.end();
#else
    return false;
#endif
}

ChartOutputDialogs windowOutputDialogs(QWidget* owner, AppContext& a) {
    ChartOutputDialogs dialogs;
    dialogs.askScale = [owner, &a](std::string* inputText) {
        return runInputDialog(owner, a, input_dialog::kPrintScaleMode, inputText);
    };
#if defined(ZEPA_CHART_PRINTING)
    dialogs.choosePrinter = [owner](QPrinter& printer) {
        QPrintDialog dialog(&printer, owner);
        return dialog.exec() == QDialog::Accepted;
    };
#endif
    return dialogs;
}

void outputChart(QWidget* owner, AppContext& a, const QImage& backing, int kind) {
    outputChart(owner, a, backing, kind, windowOutputDialogs(owner, a));
}

void outputChart(QWidget* owner, AppContext& a, const QImage& backing, int kind,
                 const ChartOutputDialogs& dialogs) {
    if (kind != kClipboardOutput && kind != kScreenSizePrint && kind != kScaledPrint) {
        return;
    }
    const QImage capture = captureChartArea(backing, a.view.chartArea);
    if (capture.isNull()) {
        return;
    }
    if (kind == kClipboardOutput) {
        copyToClipboard(capture);
    } else {
        print(owner, a, capture, kind, dialogs);
    }
}

}  // namespace zepa
