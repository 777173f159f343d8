// The data windows "さやデータ" and "株価データ": a top-level window owned by the frame window,
// which stays disabled while it is open. Rows, layout, scrolling and painting are the plain code
// of datawindow/; this class turns Qt's events into it and shows the picture it paints.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <functional>

#include "app/app_context.h"
#include "datawindow/data_table.h"
#include "platform/raster_surface.h"

class QScrollBar;

namespace zepa {

class DataWindow final : public QWidget {
    Q_OBJECT
  public:
    // kind: 0 spread data, 1 stock data. The window deletes itself when it closes.
    DataWindow(QWidget* frame, AppContext& a, int kind);
    ~DataWindow() override;

    const DataWindowState& state() const { return state_; }
    const QImage& picture() const { return image_; }
    QScrollBar* verticalBar() const { return vbar_; }
    QScrollBar* horizontalBar() const { return hbar_; }

    // Where Ctrl+S saves: given the proposed file name, the chosen path or an empty string for
    // none. Left unset, the file dialog asks.
    void setSaveChooser(std::function<QString(const QString& proposed)> chooser) {
        saveChooser_ = std::move(chooser);
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    class Canvas;

    // The client area changed size: new body height and ranges, then a new page.
    void clientResized();
    void syncScrollBars();
    void repaintPage();
    void recordPlacement();
    // Ctrl+C: every row with its header on the clipboard; Ctrl+S: the same into a CSV file.
    void copyTable();
    void saveTable();

    AppContext& a_;
    QPointer<QWidget> frame_;
    DataWindowState state_;
    QImage image_;
    RasterSurface surface_;  // over image_; font slot 1 of the window lives in it
    FontSlotTable fonts_;
    Canvas* canvas_ = nullptr;
    QScrollBar* vbar_ = nullptr;
    QScrollBar* hbar_ = nullptr;
    bool syncing_ = false;
    std::function<QString(const QString&)> saveChooser_;
};

// Opens the data window of the kind over the frame window and returns it (already shown).
DataWindow* openDataWindow(QWidget* frame, AppContext& a, int kind);

}  // namespace zepa
