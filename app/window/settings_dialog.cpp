#include "app/window/settings_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "app/app_context.h"
#include "app/frame_handlers.h"
#include "app/window/backing_image.h"
#include "app/window/qt_values.h"
#include "chart/primitives.h"
#include "platform/raster_surface.h"

namespace zepa {

namespace {

using namespace settings_dialog;

// The template's font "ＭＳ ゴシック" at 11 points: 15 pixels on a 96-dpi screen.
constexpr int kFontPixels = 15;
constexpr int kWidthUnits = 261;
// The template's 136 units and two rows below the groups for the chart options.
constexpr int kHeightUnits = 178;

// A black frame whose inside shows one spread colour, filled by the chart's own primitive.
class Swatch final : public QWidget {
  public:
    Swatch(QWidget* parent, const ColorRef& color) : QWidget(parent), color_(color) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QImage image;
        const int scale = backingScale(*this);
        if (!prepareBackingImage(image, size(), scale)) {
            return;
        }
        image.fill(Qt::black);
        {
            RasterSurface surface(image);
            surface.setScale(scale);
            fillBox(surface, 1, 1, width() - 2, height() - 2, color_);
        }
        QPainter painter(this);
        drawBackingImage(painter, image, rect());
    }

  private:
    const ColorRef& color_;
};

struct ColorButton {
    int id;
    const char* text;
    int x;
    int y;
};

// One leg's column: the five colour buttons, their swatches, three check boxes and the period.
struct LegColumn {
    int left;  // x of the buttons and check boxes
    const char* title;
    std::array<int, 5> buttons;  // top to bottom
    int candles, average, tomeashi, period;
};

constexpr std::array<const char*, 5> kColorButtonTexts = {"罫線(陰)", "罫線(陽)", "移動平均",
                                                          "とめ足", "変動率"};
constexpr std::array<int, 5> kRowTops = {16, 28, 40, 52, 64};

}  // namespace

QFont dialogFont(int pixelSize) {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("TakaoGothic"),
                      QStringLiteral("VL Gothic"), QStringLiteral("Noto Sans Mono CJK JP")});
    font.setPixelSize(pixelSize);
    return font;
}

TemplateDialog::TemplateDialog(QWidget* owner, int fontPixels, int widthUnits, int heightUnits)
    : QDialog(owner) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    const QFont font = dialogFont(fontPixels);
    setFont(font);
    // The base units of a dialog font: the average width of the Latin letters, rounded, and
    // the character height.
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseWidth_ = std::max(1, (letters / 26 + 1) / 2);
    baseHeight_ = std::max(1, metrics.height());
    resize(pixels(DialogRect{0, 0, widthUnits, heightUnits}).size());
}

QWidget* TemplateDialog::control(int id) const {
    const auto it = controls_.find(id);
    return it != controls_.end() ? it->second : nullptr;
}

QRect TemplateDialog::pixels(const DialogRect& units) const {
    const DialogRect p = dialogUnitsToPixels(units, baseWidth_, baseHeight_);
    return QRect(p.x, p.y, p.width, p.height);
}

void TemplateDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (centred_) {
        return;
    }
    centred_ = true;
    const QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : this->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    const QSize outer = frameGeometry().size();
    const DialogPoint at = centerDialog(DialogRect{area.x(), area.y(), area.width(), area.height()},
                                        outer.width(), outer.height());
    move(at.x, at.y);
}

std::optional<ColorRef> chooseSpreadColor(QWidget* owner, ColorRef initial,
                                          const std::array<ColorRef, 16>& customColors) {
    for (size_t i = 0; i < customColors.size(); ++i) {
        QColorDialog::setCustomColor(static_cast<int>(i), qColorOf(customColors[i]));
    }
    const QColor chosen = QColorDialog::getColor(qColorOf(initial), owner);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return rgbColor(static_cast<uint8_t>(chosen.red()), static_cast<uint8_t>(chosen.green()),
                    static_cast<uint8_t>(chosen.blue()));
}

SettingsDialog::SettingsDialog(QWidget* owner, ChartSettings& settings, ColorTable& colors,
                               SettingsDialogHooks hooks)
    : TemplateDialog(owner, kFontPixels, kWidthUnits, kHeightUnits),
      settings_(settings),
      colors_(colors),
      hooks_(std::move(hooks)) {
    setWindowTitle(fromUtf8(kTitle));

    const std::array<LegColumn, 2> legs = {
        LegColumn{12, "買い玉罫線", {230, 231, 238, 232, 233}, 300, 304, 301, 225},
        LegColumn{107, "売り玉罫線", {234, 235, 239, 236, 237}, 302, 305, 303, 226}};
    // Group boxes first, so that the controls inside them lie above them.
    for (const LegColumn& leg : legs) {
        place(new QGroupBox(QString::fromUtf8(leg.title), this), -1,
              DialogRect{leg.left - 6, 5, 88, 123});
    }
    place(new QGroupBox(QStringLiteral("さや基準銘柄"), this), -1, DialogRect{196, 5, 58, 40});
    place(new QGroupBox(QStringLiteral("さや計算値"), this), -1, DialogRect{196, 49, 58, 40});

    const auto button = [this](int id, const QString& text, const DialogRect& r) {
        auto* b = place(new QPushButton(text, this), id, r);
        connect(b, &QPushButton::clicked, this, [this, id] { press(id); });
        return b;
    };
    const auto check = [this](int id, const char* text, const DialogRect& r) {
        auto* c = place(new QCheckBox(QString::fromUtf8(text), this), id, r);
        connect(c, &QCheckBox::clicked, this, [this, id] { press(id); });
    };
    for (const LegColumn& leg : legs) {
        for (size_t row = 0; row < leg.buttons.size(); ++row) {
            const int id = leg.buttons[row];
            button(id, QString::fromUtf8(kColorButtonTexts[row]),
                   DialogRect{leg.left, kRowTops[row], 55, 11});
            const int k = id - kFirstColorButton;
            place(new Swatch(this, colors_.colors[static_cast<size_t>(kSpreadColorBase + k)]),
                  kFirstSwatch + k, DialogRect{leg.left + 61, kRowTops[row], 12, 10});
        }
        check(leg.candles, "罫線を表示する", DialogRect{leg.left, 79, 72, 10});
        check(leg.average, "移動平均を表示する", DialogRect{leg.left, 91, 80, 10});
        place(new QLabel(QStringLiteral("期間："), this), -1,
              DialogRect{leg.left + 15, 104, 25, 9});
        auto* edit = place(new QLineEdit(this), leg.period, DialogRect{leg.left + 45, 103, 25, 10});
        edit->setAlignment(Qt::AlignRight);
        edit->setMaxLength(200);
        check(leg.tomeashi, "とめ足を表示する", DialogRect{leg.left, 115, 72, 10});
    }

    const auto radio = [this](int id, const char* text, const DialogRect& r) {
        auto* b = place(new QRadioButton(QString::fromUtf8(text), this), id, r);
        // The dialog marks the groups itself.
        b->setAutoExclusive(false);
        connect(b, &QRadioButton::clicked, this, [this, id] { press(id); });
    };
    radio(kBaseSellRadio, "売り銘柄", DialogRect{204, 18, 45, 9});
    radio(kBaseBuyRadio, "買い銘柄", DialogRect{204, 30, 45, 9});
    radio(kSourceCloseRadio, "株価終値", DialogRect{203, 61, 45, 9});
    radio(kSourceAverageRadio, "移動平均", DialogRect{203, 73, 45, 9});
    // The ratio chart's options in a row under the columns.
    check(kRatioChartCheck, "レシオケータを表示", DialogRect{12, 135, 80, 10});
    place(new QLabel(QStringLiteral("期間："), this), -1, DialogRect{97, 136, 25, 9});
    auto* ratioPeriod = place(new QLineEdit(this), kRatioPeriodEdit, DialogRect{122, 135, 25, 10});
    ratioPeriod->setAlignment(Qt::AlignRight);
    ratioPeriod->setMaxLength(200);
    check(kOverlaySellCheck, "売り銘柄を建値で重ねる", DialogRect{155, 135, 100, 10});
    check(kSplitAdjustedCheck, "株式分割を調整して表示", DialogRect{12, 149, 120, 10});
    check(kShowBacktestCheck, "検証を表示", DialogRect{155, 149, 100, 10});
    check(kChangeRateOfEntryCheck, "変動率を建値に対する％で表示", DialogRect{12, 163, 140, 10});
    place(new QLabel(fromUtf8(kDeadlineDaysLabel), this), -1, DialogRect{155, 164, 72, 9});
    auto* deadlineDays =
        place(new QLineEdit(this), kDeadlineDaysEdit, DialogRect{228, 163, 25, 10});
    deadlineDays->setAlignment(Qt::AlignRight);
    deadlineDays->setMaxLength(200);
    button(kResetButton, QStringLiteral("初期値に戻す"), DialogRect{196, 96, 58, 14});
    QPushButton* close =
        button(kCloseButton, QStringLiteral("設定終了"), DialogRect{196, 112, 58, 14});

    fillSettingsDialog(settings_, *this);
    close->setFocus();
}

void SettingsDialog::press(int id) {
    if (!ended_) {
        settingsDialogCommand(settings_, colors_, *this, id);
    }
}

void SettingsDialog::reject() {
    press(kCloseButton);
}

void SettingsDialog::setCheck(int id, int32_t value) {
    QWidget* w = control(id);
    if (auto* box = dynamic_cast<QCheckBox*>(w)) {
        // A stored value other than 0 and 1 draws nothing but is not plain off either.
        box->setCheckState(value == 0   ? Qt::Unchecked
                           : value == 1 ? Qt::Checked
                                        : Qt::PartiallyChecked);
    } else if (auto* radio = dynamic_cast<QRadioButton*>(w)) {
        radio->setChecked(value != 0);
    }
}

void SettingsDialog::setEditText(int id, std::string_view text) {
    if (auto* edit = dynamic_cast<QLineEdit*>(control(id))) {
        edit->setText(fromUtf8(text));
    }
}

std::string SettingsDialog::editText(int id) {
    if (auto* edit = dynamic_cast<QLineEdit*>(control(id))) {
        return edit->text().toStdString();
    }
    return {};
}

bool SettingsDialog::askYesNo(std::string_view text, std::string_view caption) {
    if (hooks_.askYesNo) {
        return hooks_.askYesNo(text, caption);
    }
    QMessageBox box(QMessageBox::Information, fromUtf8(caption), fromUtf8(text),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

void SettingsDialog::warn(std::string_view text, std::string_view caption) {
    if (hooks_.warn) {
        hooks_.warn(text, caption);
        return;
    }
    QMessageBox box(QMessageBox::Warning, fromUtf8(caption), fromUtf8(text), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::optional<ColorRef> SettingsDialog::chooseColor(ColorRef initial,
                                                    const std::array<ColorRef, 16>& customColors) {
    if (hooks_.chooseColor) {
        return hooks_.chooseColor(initial);
    }
    return chooseSpreadColor(this, initial, customColors);
}

void SettingsDialog::repaintSwatches() {
    for (int k = 0; k < kSwatchCount; ++k) {
        if (QWidget* swatch = control(kFirstSwatch + k)) {
            swatch->update();
        }
    }
}

void SettingsDialog::invalidateFrame() {
    if (hooks_.invalidateFrame) {
        hooks_.invalidateFrame();
    }
}

bool SettingsDialog::rebuildSeries() {
    return hooks_.rebuildSeries && hooks_.rebuildSeries();
}

void SettingsDialog::endDialog(int result) {
    ended_ = true;
    done(result);
}

void runSettingsDialog(QWidget* owner, AppContext& a, Shell& shell) {
    SettingsDialogHooks hooks;
    hooks.rebuildSeries = [&] { return rebuildAfterSettings(a, shell); };
    hooks.invalidateFrame = [&] { shell.invalidateWindow(); };
    SettingsDialog dialog(owner, a.settings, a.colors, std::move(hooks));
    dialog.exec();
}

}  // namespace zepa
