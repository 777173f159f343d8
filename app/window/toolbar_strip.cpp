#include "app/window/toolbar_strip.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <algorithm>

#include "chart/view_state.h"
#include "platform/pixel_art_scale.h"
#include "platform/raster_surface.h"

namespace zepa {

namespace {

// Buttons are the 18 x 18 image with a 3-pixel bevel around it, centred in the strip. The
// 39 separators of 8 pixels after the first button keep the selector's 300 pixels free.
constexpr int kImageSize = 18;
constexpr int kButtonSize = kImageSize + 6;
constexpr int kButtonTop = (kToolbarHeight - kButtonSize) / 2;
constexpr int kSeparatorWidth = 8;
constexpr int kSelectorLeft = 28;
constexpr int kSelectorTop = 2;
constexpr int kSelectorWidth = 300;
constexpr int kSelectorDropHeight = 300;
constexpr int kSelectorMaxHeight = kToolbarHeight - kSelectorTop - 2;

// The strip's background colour, which the button face of the image strip stands for.
const QColor kStripFace(0xC0, 0xC0, 0xC0);

struct ButtonEntry {
    int separatorsBefore;
    int commandId;
    int image;  // index in the image strip
    const char* tooltip;
};

constexpr ButtonEntry kButtons[] = {
    {0, 250, 0, "建て玉ファイルの再読込"},
    {39, 251, 1, "期日を前へ移動"},
    {0, 252, 2, "期日を後へ移動"},
    {0, 253, 3, "前の建て玉へ移動"},
    {0, 254, 4, "後の建て玉へ移動"},
    {0, 255, 5, "自動で移動"},
    {1, 260, 7, "初期画面に戻す"},
    {0, 256, 6, "チャートピッチの切り替え"},
    {0, 257, 8, "カーソル ON/OFF"},
    {0, 258, 9, "チャートの切り替え"},
    {1, 259, 10, "終了"},
};

// Shown pressed while automatic stepping or the cursor is on.
bool isModeButton(int commandId) {
    return commandId == 255 || commandId == 257;
}

// Image k of the strip, its button face made transparent so that the button's own face shows
// through (as the toolbar maps the bitmap's grey to the system's button colour).
QIcon buttonIcon(const QPixmap& strip, int image) {
    if (strip.isNull() || strip.width() < (image + 1) * kImageSize || strip.height() < kImageSize) {
        return QIcon();
    }
    QPixmap picture = strip.copy(image * kImageSize, 0, kImageSize, kImageSize);
    picture.setMask(picture.createMaskFromColor(kStripFace, Qt::MaskInColor));
    QIcon icon(picture);
    // For a screen of ratio 2 (and, scaled down, 1.5): the image doubled as pixel art rather
    // than blown up or blurred by the style.
    QPixmap doubled = QPixmap::fromImage(scalePixelArt(picture.toImage(), 2));
    doubled.setDevicePixelRatio(2);
    icon.addPixmap(doubled);
    return icon;
}

int screenWidth() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().width() : 1024;
}

}  // namespace

ToolbarStrip::ToolbarStrip(QWidget* parent, const QFont& selectorFont, Callbacks callbacks)
    : QWidget(parent), callbacks_(std::move(callbacks)) {
    registerIconResources();
    setGeometry(0, 0, screenWidth(), kToolbarHeight);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    // The strip is a window of its own to the mouse: what happens over it is not the chart's.
    setAttribute(Qt::WA_NoMousePropagation);

    const QPixmap strip(QStringLiteral(":/toolbar/buttons.xpm"));
    int x = 0;
    for (const ButtonEntry& entry : kButtons) {
        x += entry.separatorsBefore * kSeparatorWidth;
        QToolButton* button =
            isModeButton(entry.commandId) ? new ModeButton(this) : new QToolButton(this);
        button->setCheckable(isModeButton(entry.commandId));
        button->setFocusPolicy(Qt::NoFocus);
        button->setAttribute(Qt::WA_AlwaysShowToolTips);
        button->setIcon(buttonIcon(strip, entry.image));
        button->setIconSize(QSize(kImageSize, kImageSize));
        button->setToolTip(QString::fromUtf8(entry.tooltip));
        button->setGeometry(x, kButtonTop, kButtonSize, kButtonSize);
        const int id = entry.commandId;
        connect(button, &QToolButton::clicked, this, [this, id] {
            if (callbacks_.button) {
                callbacks_.button(id);
            }
        });
        buttons_[id] = button;
        x += kButtonSize;
    }

    selector_ = new QComboBox(this);
    selector_->setFocusPolicy(Qt::NoFocus);
    selector_->setFont(selectorFont);
    // A list dropping below the box, as high as it is told, not a menu over it.
    selector_->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    selector_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    selector_->setMinimumContentsLength(1);
    const int height = std::min(selector_->sizeHint().height(), kSelectorMaxHeight);
    selector_->setGeometry(kSelectorLeft, kSelectorTop, kSelectorWidth, height);
    selector_->installEventFilter(this);
    connect(selector_, &QComboBox::activated, this, [this](int index) {
        if (callbacks_.selection) {
            callbacks_.selection(index);
        }
    });
    fitSelectorList();
}

QToolButton* ToolbarStrip::button(int commandId) const {
    const auto it = buttons_.find(commandId);
    return it != buttons_.end() ? it->second : nullptr;
}

void ToolbarStrip::fitSelectorList() {
    const int row = selector_->count() > 0 ? selector_->view()->sizeHintForRow(0)
                                           : selector_->fontMetrics().height();
    const int list = kSelectorDropHeight - selector_->height();
    selector_->setMaxVisibleItems(std::max(1, list / std::max(1, row)));
}

void ToolbarStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    // The etched divider between the menu bar and the strip.
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(0, 0, width() - 1, 0);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(0, 1, width() - 1, 1);
}

bool ToolbarStrip::eventFilter(QObject* watched, QEvent* event) {
    if (watched == selector_) {
        if (event->type() == QEvent::MouseButtonPress && callbacks_.selectorPressed) {
            callbacks_.selectorPressed();
        }
        // The wheel belongs to the chart's window, not to a selector that has no focus.
        if (event->type() == QEvent::Wheel) {
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace zepa
