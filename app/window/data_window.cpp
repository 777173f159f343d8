#include "app/window/data_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

#include "app/frame_handlers.h"
#include "app/window/backing_image.h"
#include "app/window/table_save.h"
#include "base/codepage.h"
#include "chart/primitives.h"
#include "datawindow/table_export.h"

namespace zepa {
namespace {

// The system window colour the client area is erased with before a page is painted.
constexpr QRgb kWindowBackground = 0xFFFFFFFF;
// A stored height outside this range (a hand-edited value) is brought into it.
constexpr int kSmallestHeight = 60;
// Rows per wheel notch, as line steps.
constexpr int kWheelRows = 3;

DataKey dataKeyOf(int key) {
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return DataKey::Enter;
        case Qt::Key_Escape:
            return DataKey::Escape;
        case Qt::Key_Up:
            return DataKey::Up;
        case Qt::Key_Down:
            return DataKey::Down;
        case Qt::Key_PageUp:
            return DataKey::PageUp;
        case Qt::Key_PageDown:
            return DataKey::PageDown;
        case Qt::Key_Left:
            return DataKey::Left;
        case Qt::Key_Right:
            return DataKey::Right;
        case Qt::Key_Home:
            return DataKey::Home;
        case Qt::Key_End:
            return DataKey::End;
        case Qt::Key_T:
            return DataKey::T;
        case Qt::Key_B:
            return DataKey::B;
        default:
            return DataKey::Other;
    }
}

}  // namespace

// The client area: shows the page picture; a left click or double click closes the window.
class DataWindow::Canvas final : public QWidget {
  public:
    explicit Canvas(DataWindow& owner) : QWidget(&owner), owner_(owner) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::NoFocus);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        const QImage& image = owner_.image_;
        if (backingOutOfDate(image, *this)) {
            owner_.repaintPage();  // moved to a screen of another ratio
        }
        QPainter p(this);
        drawBackingImage(p, image, event->rect());
        const QRegion rest = QRegion(event->rect()) - QRegion(logicalRect(image));
        for (const QRect& r : rest) {
            p.fillRect(r, QColor::fromRgb(kWindowBackground));
        }
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        owner_.clientResized();
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            owner_.close();
        }
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            owner_.close();
        }
    }
    void wheelEvent(QWheelEvent* event) override {
        // Fine-stepping wheels and touchpads add up to whole notches.
        const int notches = wheelNotches(wheelRest_, event->angleDelta().y());
        for (int n = 0; n < std::abs(notches) * kWheelRows; ++n) {
            scrollDataRows(owner_.state_,
                           notches > 0 ? ScrollAction::LineBack : ScrollAction::LineForward);
        }
        owner_.syncScrollBars();
        owner_.repaintPage();
        event->accept();
    }

  private:
    DataWindow& owner_;
    int wheelRest_ = 0;
};

DataWindow::DataWindow(QWidget* frame, AppContext& a, int kind)
    : QWidget(frame, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      a_(a),
      frame_(frame),
      surface_(image_) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    const QString title = QString::fromUtf8(dataWindowTitle(kind).data(),
                                            static_cast<qsizetype>(dataWindowTitle(kind).size()));
    setWindowTitle(title);
    registerIconResources();
    if (const char* icon = iconResourcePath(600)) {
        setWindowIcon(QIcon(QString::fromLatin1(icon)));
    }

    state_.kind = kind == kStockDataKind ? kStockDataKind : kSpreadDataKind;
    state_.rowCount = dataRowCount(chartContext(a_));
    state_.columnCount = dataColumnCount(chartContext(a_), state_.kind);
    selectFontSlot(surface_, fonts_, kDataFontSlot, kChartFontFace, kDataFontHeight);
    const FontSlot& slot = fonts_.slots[kDataFontSlot];
    layoutDataColumns(state_, slot.charWidth, slot.lineHeight, fonts_.lastTextHeight);

    canvas_ = new Canvas(*this);
    vbar_ = new QScrollBar(Qt::Vertical, this);
    hbar_ = new QScrollBar(Qt::Horizontal, this);
    for (QScrollBar* bar : {vbar_, hbar_}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setSingleStep(1);
        bar->hide();
    }
    hbar_->setPageStep(kDataHorizontalPage);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(canvas_, 0, 0);
    grid->addWidget(vbar_, 0, 1);
    grid->addWidget(hbar_, 1, 0);
    // A bar's own line, page and drag moves all arrive as a new thumb position.
    connect(vbar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (!syncing_ && scrollDataRows(state_, ScrollAction::Thumb, value) != 0) {
            repaintPage();
        }
    });
    connect(hbar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (!syncing_ && scrollDataColumns(state_, ScrollAction::Thumb, value) != 0) {
            repaintPage();
        }
    });

    const DataWindowRect r = dataWindowPlacement(*a_.store, state_);
    const QScreen* screen = frame != nullptr ? frame->screen() : QGuiApplication::primaryScreen();
    const int tallest =
        screen != nullptr ? std::max(kSmallestHeight, screen->availableSize().height()) : 4096;
    setGeometry(r.left, r.top, r.width, std::clamp(r.height, kSmallestHeight, tallest));

    // While this window is open the frame takes no input, so the position and the settings
    // cannot change under it. Disabling the frame disables its child windows too: this one is
    // a window of its own and takes its input back.
    if (frame_) {
        frame_->setEnabled(false);
    }
    setEnabled(true);
}

DataWindow::~DataWindow() {
    releaseFontSlots(surface_, fonts_);
}

void DataWindow::clientResized() {
    const QSize client = canvas_->size();
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    resizeDataWindow(state_, client.height(), normal.width());
    syncScrollBars();
    repaintPage();
}

void DataWindow::syncScrollBars() {
    syncing_ = true;
    vbar_->setRange(0, state_.topRowMax);
    vbar_->setPageStep(std::max(1, dataRowsPerPage(state_)));
    vbar_->setValue(state_.topRow);
    hbar_->setRange(0, state_.leftCharMax);
    hbar_->setValue(state_.leftChar);
    syncing_ = false;
    // A range of 0..0 hides that bar.
    vbar_->setVisible(state_.topRowMax > 0);
    hbar_->setVisible(state_.leftCharMax > 0);
}

void DataWindow::repaintPage() {
    const QSize client = canvas_->size();
    if (client.isEmpty()) {
        return;
    }
    const int scale = backingScale(*canvas_);
    if (!prepareBackingImage(image_, client, scale)) {
        return;
    }
    surface_.setScale(scale);
    image_.fill(kWindowBackground);
    surface_.setRasterOp(RasterOp::CopyPen);
    surface_.selectDefaultPen();
    paintDataWindow(surface_, fonts_, chartContext(a_), state_, client.height());
    canvas_->update();
}

void DataWindow::recordPlacement() {
    if (!isVisible()) {
        return;
    }
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    storeDataWindowPlacement(
        *a_.store, state_.kind,
        DataWindowRect{normal.left(), normal.top(), normal.width(), normal.height()});
}

void DataWindow::copyTable() {
    QGuiApplication::clipboard()->setText(
        QString::fromStdString(dataTableTsv(chartContext(a_), state_.kind)));
}

void DataWindow::saveTable() {
    const ChartContext c = chartContext(a_);
    saveTableAs(this, QString::fromStdString(dataTableFileName(c.position, state_.kind)),
                saveChooser_, dataTableCsv(c, state_.kind));
}

void DataWindow::keyPressEvent(QKeyEvent* event) {
    // Every key is the window's, also with Alt held; only the listed ones act.
    event->accept();
    if (event->modifiers().testFlag(Qt::ControlModifier) && event->key() == Qt::Key_C) {
        copyTable();
        return;
    }
    if (event->modifiers().testFlag(Qt::ControlModifier) && event->key() == Qt::Key_S) {
        saveTable();
        return;
    }
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    if (dataWindowKey(state_, dataKeyOf(event->key()), shift)) {
        close();
        return;
    }
    syncScrollBars();
    repaintPage();
}

void DataWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    recordPlacement();
}

void DataWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    recordPlacement();
}

void DataWindow::closeEvent(QCloseEvent* event) {
    if (frame_) {
        frame_->setEnabled(true);
        frame_->activateWindow();
    }
    event->accept();
}

DataWindow* openDataWindow(QWidget* frame, AppContext& a, int kind) {
    auto* window = new DataWindow(frame, a, kind);
    window->show();
    window->activateWindow();
    window->setFocus();
    return window;
}

}  // namespace zepa
