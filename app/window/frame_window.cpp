#include "app/window/frame_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <algorithm>

#include "app/window/about_dialog.h"
#include "app/window/advanced_settings_dialog.h"
#include "app/window/backing_image.h"
#include "app/window/backtest_window.h"
#include "app/window/chart_output.h"
#include "app/window/chart_view.h"
#include "app/window/data_window.h"
#include "app/window/help_window.h"
#include "app/window/input_dialog.h"
#include "app/window/pair_search_window.h"
#include "app/window/qt_values.h"
#include "app/window/settings_dialog.h"
#include "app/window/toolbar_strip.h"
#include "app/window/virtual_keys.h"
#include "base/codepage.h"
#include "chart/paint.h"
#include "chart/primitives.h"
#include "marketdata/data_error.h"

namespace zepa {

namespace {

constexpr int kProgramIcon = 600;
// The selector and the status bar use font slot 0: the chart face at 15 pixels.
constexpr int kSlotZeroPixels = 15;
// A restored placement is never smaller than this, so that the window stays reachable.
constexpr int kSmallestWidth = 160;
constexpr int kSmallestHeight = 120;
// The size of a window with no stored placement, as a share of the screen.
constexpr int kDefaultShareNumerator = 3;
constexpr int kDefaultShareDenominator = 4;
constexpr uint32_t kMaximizedFlag = 2;
constexpr uint32_t kShowNormal = 1;
constexpr uint32_t kShowMinimized = 2;
constexpr uint32_t kShowMaximized = 3;

// The chart face with the same stand-ins the raster surface uses where it is not installed.
QFont slotZeroFont() {
    QFont font;
    font.setFamilies({fromUtf8(kChartFontFace), QStringLiteral("MS Gothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("TakaoGothic"),
                      QStringLiteral("VL Gothic"), QStringLiteral("Noto Sans Mono CJK JP")});
    font.setPixelSize(kSlotZeroPixels);
    return font;
}

QRect availableDesktop() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableVirtualGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

FrameWindow::FrameWindow(AppContext& a) : a_(a), surface_(image_) {
    setWindowTitle(QStringLiteral("さやチャート"));
    registerIconResources();
    // The icon of the menu entry, at every size the desktop may ask for, so that it is sharp
    // at any scale; the 16-colour program icon where those are missing.
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128}) {
        icon.addFile(QStringLiteral(":/icons/program_%1.png").arg(size), QSize(size, size));
    }
    if (icon.availableSizes().isEmpty()) {
        if (const char* path = iconResourcePath(kProgramIcon)) {
            icon = QIcon(QString::fromLatin1(path));
        }
    }
    setWindowIcon(icon);
    // The toolbar's tips show while the window is inactive too.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    buildMenus();

    view_ = new ChartView(*this);
    setCentralWidget(view_);
    setFocusProxy(view_);

    const QFont font = slotZeroFont();
    ToolbarStrip::Callbacks callbacks;
    callbacks.button = [this](int id) { command(id); };
    callbacks.selection = [this](int index) {
        command(command::kPositionSelector, index);
        // The keys go back to the chart.
        view_->setFocus(Qt::OtherFocusReason);
    };
    // Clicking the selector takes the keyboard focus from the chart window.
    callbacks.selectorPressed = [this] { focusLost(); };
    toolbar_ = new ToolbarStrip(view_, font, std::move(callbacks));

    status_ = new QStatusBar(this);
    status_->setSizeGripEnabled(true);
    status_->setFont(font);
    // A widget rather than a message: menu status tips clear messages, not widgets.
    statusLabel_ = new QLabel(status_);
    statusLabel_->setFont(font);
    statusLabel_->setTextFormat(Qt::PlainText);
    status_->addWidget(statusLabel_, 1);
    setStatusBar(status_);

    const QRect desktop = availableDesktop();
    resize(desktop.width() * kDefaultShareNumerator / kDefaultShareDenominator,
           desktop.height() * kDefaultShareNumerator / kDefaultShareDenominator);

    onCreate(a_, *this);
    created_ = true;
}

FrameWindow::~FrameWindow() {
    // Destroyed without being closed, the destruction handler still runs, while the surface
    // that holds the font slots exists.
    windowGone();
    // The chart view goes first, while this window can still hear about its last events.
    delete view_;
    view_ = nullptr;
    toolbar_ = nullptr;
}

void FrameWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    // The menu stays in the window, where the client area's coordinates expect it.
    bar->setNativeMenuBar(false);

    QMenu* file = bar->addMenu(QStringLiteral("ファイル(&F)"));
    addCommand(file, command::kEditPositions, "&E\t建玉ファイル編集");
    addCommand(file, command::kReloadPositionsMenu, "&R\t建玉ファイル再読込");
    file->addSeparator();
    connect(file->addAction(QStringLiteral("&U\t株価更新")), &QAction::triggered, this,
            &FrameWindow::runPriceUpdate);
    connect(file->addAction(QStringLiteral("&I\t株価取り込み…")), &QAction::triggered, this,
            &FrameWindow::runPriceImport);
    file->addSeparator();
    addCommand(file, command::kAddPosition, "&A\t建玉の追加…");
    addCommand(file, command::kChangePosition, "&C\t建玉の変更…");
    addCommand(file, command::kClosePosition, "&K\t建玉の決済…");
    addCommand(file, command::kRemovePosition, "&D\t建玉の削除");
    file->addSeparator();
    addCommand(file, command::kExit, "&X\t終了");

    QMenu* functions = bar->addMenu(QStringLiteral("機能(&K)"));
    addCommand(functions, command::kDailyWeekly, "&C\t日足／週足切り替え");
    addCommand(functions, command::kChartSwitch, "&S\tチャート切り替え");
    functions->addSeparator();
    addCommand(functions, command::kStockData, "&K\t株価データ表示");
    addCommand(functions, command::kSpreadData, "&D\tさやデータ表示");
    addCommand(functions, command::kClosedTrades, "&Z\t決済済み");
    addCommand(functions, command::kOverview, "&L\t建玉一覧");
    functions->addSeparator();
    addCommand(functions, command::kPairSearch, "&F\tペア検索...  Ctrl+F");
    addCommand(functions, command::kBacktestData, "&V\t検証データ表示");
    functions->addSeparator();
    QMenu* output = functions->addMenu(QStringLiteral("&G\tチャート画面出力"));
    addCommand(output, command::kCopyToClipboard, "&C\tクリップボードへ");
    addCommand(output, command::kPrintScreenSize, "&S\t印刷 （画面サイズ）");
    addCommand(output, command::kPrintScaled, "&P\t印刷 （指定サイズ）");

    addCommand(bar, command::kSettings, "設定(&S)");
    addCommand(bar, command::kAdvancedSettings, advanced_dialog::kMenuText.data());

    QMenu* help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    addCommand(help, command::kKeyHelp, "&K\t操作キーヘルプ");
    help->addSeparator();
    addCommand(help, command::kHelp, "&H\tZEPA_SPW.HLP ");
    help->addSeparator();
    addCommand(help, command::kAbout, "&V\tバージョン情報...");
}

// The text after the tab is what the menu shows right-aligned.
QAction* FrameWindow::addCommand(QWidget* menu, int commandId, const char* text) {
    auto* action = new QAction(QString::fromUtf8(text), menu);
    menu->addAction(action);
    menuItems_[commandId] = action;
    connect(action, &QAction::triggered, this, [this, commandId] { command(commandId); });
    return action;
}

void FrameWindow::command(int commandId, int selection) {
    if (!closed_) {
        onCommand(a_, *this, commandId, selection);
    }
}

QComboBox* FrameWindow::positionSelector() const {
    return toolbar_->selector();
}

QToolButton* FrameWindow::toolbarButton(int commandId) const {
    return toolbar_->button(commandId);
}

QString FrameWindow::statusText() const {
    return statusLabel_->text();
}

void FrameWindow::restorePlacement(const WindowPlacement& placement) {
    const QRect desktop = availableDesktop();
    // Logical pixels of this scale, covering as much of the screen as when it was stored.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const ScreenRect r = fitPlacement(
        placementAtScale(placement,
                         scalePercentOf(screen != nullptr ? screen->devicePixelRatio() : 1.0)),
        ScreenRect{desktop.x(), desktop.y(), desktop.width(), desktop.height()}, kSmallestWidth,
        kSmallestHeight);
    setGeometry(r.left, r.top, r.width, r.height);
}

QSize FrameWindow::clientSize() const {
    return QSize(view_->width(), view_->height() + statusBarHeight());
}

int FrameWindow::statusBarHeight() const {
    return status_->isHidden() ? 0 : status_->height();
}

void FrameWindow::resetSurface() {
    surface_.setRasterOp(RasterOp::CopyPen);
    surface_.selectDefaultPen();
    surface_.setTextColor(rgbColor(0, 0, 0));
    surface_.setBackgroundColor(rgbColor(255, 255, 255));
    surface_.setBackgroundMode(BackgroundMode::Opaque);
}

void FrameWindow::paintRequest() {
    // Until the window is first shown there is nothing to paint on; showing it paints.
    if (!shown_ || closed_) {
        return;
    }
    const QSize client = clientSize();
    if (client.isEmpty()) {
        return;
    }
    const int scale = backingScale(*view_);
    if (!prepareBackingImage(image_, client, scale)) {
        return;  // no memory for the picture: the window stays as it was
    }
    surface_.setScale(scale);
    image_.fill(Qt::white);
    resetSurface();
    onPaint(a_, *this, surface_, client.width(), client.height(), statusBarHeight());
    chartPainted_ = chartPainted_ || a_.positions.positionCount > 0;
    view_->update();
}

void FrameWindow::recordPlacement() {
    if (!recordPlacement_ || closed_) {
        return;
    }
    WindowPlacement p;
    const bool maximized = isMaximized();
    p.flags = maximized ? kMaximizedFlag : 0;
    p.showCommand = isMinimized() ? kShowMinimized : maximized ? kShowMaximized : kShowNormal;
    QRect normal = normalGeometry();
    if (!normal.isValid()) {
        normal = geometry();
    }
    p.left = normal.left();
    p.top = normal.top();
    p.right = normal.left() + normal.width();
    p.bottom = normal.top() + normal.height();
    p.scalePercent = scalePercentOf(devicePixelRatioF());
    onMoveOrSize(a_, p);
}

void FrameWindow::windowGone() {
    if (closed_) {
        return;
    }
    closed_ = true;
    for (const auto& [id, qtId] : timers_) {
        QObject::killTimer(qtId);
    }
    timers_.clear();
    onDestroy(a_, *this);
}

void FrameWindow::closeEvent(QCloseEvent* event) {
    // ペア検索 keeps its choices and place when it closes; ending the program with it open must
    // close it so, not merely delete it.
    if (pairSearch_ != nullptr && pairSearch_->isVisible()) {
        pairSearch_->close();
    }
    windowGone();
    event->accept();
    Q_EMIT windowClosed();
}

void FrameWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    recordPlacement();
}

void FrameWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    recordPlacement();
}

void FrameWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        recordPlacement();
    }
}

void FrameWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        paintRequest();
        view_->setFocus(Qt::OtherFocusReason);
    }
}

void FrameWindow::timerEvent(QTimerEvent* event) {
    for (const auto& [id, qtId] : timers_) {
        if (qtId == event->timerId()) {
            onTimer(a_, *this, id);
            return;
        }
    }
    QMainWindow::timerEvent(event);
}

// Keys only arrive here when nothing inside has the focus.
void FrameWindow::keyPressEvent(QKeyEvent* event) {
    keyFromUser(*event);
    event->accept();
}

void FrameWindow::keyFromUser(const QKeyEvent& event) {
    if (!closed_ && created_) {
        const KeyInput key = keyInputOf(event);
        onKey(a_, *this, key.virtualKey, key.ctrl);
    }
}

void FrameWindow::mouseMoved(int x, int y) {
    if (!closed_ && created_) {
        onMouseMove(a_, *this, x, y);
    }
}

void FrameWindow::mousePressed(Qt::MouseButton button) {
    if (closed_ || !created_) {
        return;
    }
    if (button == Qt::LeftButton) {
        onLeftButtonDown(a_, *this);
    } else if (button == Qt::RightButton) {
        onRightButtonDown(a_, *this);
    }
}

void FrameWindow::leftDoubleClicked(int x, int y) {
    if (!closed_ && created_) {
        onLeftDoubleClick(a_, *this, x, y);
    }
}

void FrameWindow::wheelTurned(int notches, bool page) {
    if (!closed_ && created_) {
        onWheel(a_, *this, notches, page);
    }
}

void FrameWindow::focusLost() {
    if (!closed_ && created_) {
        onFocusLost(a_, *this);
    }
}

void FrameWindow::chartShown() {
    runPendingOverview();
    if (closeAfterFirstChart_ && chartPainted_ && !closeQueued_) {
        closeQueued_ = true;
        QTimer::singleShot(0, this, [this] { close(); });
    }
}

// ---- Shell

void FrameWindow::messageBox(std::string_view text, std::string_view caption, MessageIcon icon) {
    if (endedByDataError_) {
        return;
    }
    QMessageBox box(
        icon == MessageIcon::Information ? QMessageBox::Information : QMessageBox::Warning,
        fromUtf8(caption), fromUtf8(text), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void FrameWindow::beep() {
    QApplication::beep();
}

void FrameWindow::setButtonPressed(int commandId, bool pressed) {
    if (QToolButton* button = toolbar_->button(commandId)) {
        button->setChecked(pressed);
    }
}

void FrameWindow::setButtonEnabled(int commandId, bool enabled) {
    if (QToolButton* button = toolbar_->button(commandId)) {
        button->setEnabled(enabled);
    }
}

void FrameWindow::setMenuItemEnabled(int commandId, bool enabled) {
    if (const auto it = menuItems_.find(commandId); it != menuItems_.end()) {
        it->second->setEnabled(enabled);
    }
}

void FrameWindow::setSelectorItems(const std::vector<std::string>& cp932Items) {
    QComboBox* selector = toolbar_->selector();
    const QSignalBlocker blocker(selector);
    selector->clear();
    for (const std::string& item : cp932Items) {
        selector->addItem(QString::fromStdU16String(utf16FromCp932(item)));
    }
    toolbar_->fitSelectorList();
}

void FrameWindow::selectSelectorItem(int index) {
    QComboBox* selector = toolbar_->selector();
    const QSignalBlocker blocker(selector);
    selector->setCurrentIndex(index >= 0 && index < selector->count() ? index : -1);
}

// Starting a running timer again restarts it with the new period.
void FrameWindow::startTimer(int id, int milliseconds) {
    if (closed_) {
        return;
    }
    killTimer(id);
    const int qtId = QObject::startTimer(std::max(0, milliseconds));
    if (qtId != 0) {
        timers_[id] = qtId;
    }
}

void FrameWindow::killTimer(int id) {
    const auto it = timers_.find(id);
    if (it != timers_.end()) {
        QObject::killTimer(it->second);
        timers_.erase(it);
    }
}

void FrameWindow::drawOnWindow(const std::function<void(DrawingSurface&)>& draw) {
    resetSurface();
    draw(surface_);
    if (view_ != nullptr) {
        view_->update();
    }
}

void FrameWindow::invalidateWindow() {
    paintRequest();
}

void FrameWindow::setStatusText(std::string_view cp932) {
    statusLabel_->setText(QString::fromStdU16String(utf16FromCp932(cp932)));
}

void FrameWindow::openPairSearch() {
    if (pairSearch_ == nullptr) {
        pairSearch_ = new PairSearchWindow(this, *this, a_);
    }
    pairSearch_->show();
    pairSearch_->raise();
    pairSearch_->activateWindow();
}

void FrameWindow::openBacktestWindow() {
    if (backtestWindow_ == nullptr) {
        backtestWindow_ = new BacktestWindow(this, a_);
    }
    backtestWindow_->refresh();
    backtestWindow_->show();
    backtestWindow_->raise();
}

void FrameWindow::openDataWindow(int kind) {
    zepa::openDataWindow(this, a_, kind);
}

void FrameWindow::runSettingsDialog() {
    zepa::runSettingsDialog(this, a_, *this);
}

void FrameWindow::runAdvancedSettingsDialog() {
    zepa::runAdvancedSettingsDialog(this, a_, *this);
}

void FrameWindow::runInputDialog(int mode) {
    zepa::runInputDialog(this, a_, mode);
}

void FrameWindow::runAboutDialog() {
    zepa::runAboutDialog(this);
}

void FrameWindow::outputChart(int kind) {
    const std::string note =
        zepa::outputChart(this, a_, image_, kind, windowOutputDialogs(this, a_),
                          [this](int scale) { return renderChartArea(scale); });
    if (!note.empty()) {
        setStatusText(cp932FromUtf8(note));
    }
}

QImage FrameWindow::renderChartArea(int scale) {
    if (a_.positions.positionCount <= 0 || !a_.series.buyBarsAllocated ||
        !a_.series.sellBarsAllocated || image_.isNull()) {
        return captureChartArea(image_, a_.view.chartArea);
    }
    // The chart drawn once more into a picture of its own, through the same surface (its font
    // slots stay valid), at the same logical size: the layout comes out as on the screen.
    const QImage shown = image_;
    const int shownScale = surface_.scale();
    QImage capture;
    if (prepareBackingImage(image_, logicalRect(shown).size(), scale)) {
        surface_.setScale(scale);
        image_.fill(Qt::white);
        resetSurface();
        ChartContext c = chartContext(a_);
        paintChart(surface_, c);
        capture = captureChartArea(image_, a_.view.chartArea);
    }
    image_ = shown;
    surface_.setScale(shownScale);
    resetSurface();
    return capture;
}

bool FrameWindow::startProcess(const std::string& commandLine) {
    // Split as a shell would, but started directly: no shell sees the command line.
    const QStringList parts = QProcess::splitCommand(fromUtf8(commandLine));
    if (parts.isEmpty()) {
        return false;
    }
    return QProcess::startDetached(parts.first(), parts.mid(1));
}

bool FrameWindow::openWithDesktop(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(path.c_str())));
}

void FrameWindow::showHelp(int context) {
    showHelpWindow(this, context, QFile::decodeName(a_.paths.helpDirectory.c_str()));
}

void FrameWindow::destroyWindow() {
    close();
}

void FrameWindow::endAfterDataError(std::string_view text) {
    if (endedByDataError_) {
        return;
    }
    endedByDataError_ = true;
    // No owner: the program is ending, the window does not matter any more.
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kErrorCaption), fromUtf8(text),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    close();
}

}  // namespace zepa
