#include "app/window/advanced_settings_dialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

#include "app/app_context.h"
#include "app/default_editor.h"
#include "app/editor_message.h"
#include "app/shell.h"
#include "app/window/qt_values.h"

namespace zepa {

namespace {

using namespace advanced_dialog;

constexpr int kFontPixels = 15;
// A first size in dialog units; the layouts settle the real one.
constexpr int kWidthUnits = 300;
constexpr int kHeightUnits = 300;
// Colour buttons a column: one column of them beside the other settings.
constexpr int kColorRows = kEditableColorCount;
// The colour list is shown whole up to this height (logical pixels); a longer one scrolls.
constexpr int kMostColorListHeight = 440;

QPixmap swatch(ColorRef color) {
    QPixmap pixmap(28, 14);
    pixmap.fill(Qt::black);
    QPainter p(&pixmap);
    p.fillRect(1, 1, 26, 12, qColorOf(color));
    return pixmap;
}

// A path with a blank is quoted, so the command line keeps it as one word.
QString commandWord(const QString& path) {
    return path.contains(u' ') ? u'"' + path + u'"' : path;
}

}  // namespace

AdvancedSettingsDialog::AdvancedSettingsDialog(QWidget* owner, ValueStore& store,
                                               ChartSettings& settings, ColorTable& colors,
                                               AdvancedDialogHooks hooks)
    : TemplateDialog(owner, kFontPixels, kWidthUnits, kHeightUnits),
      store_(store),
      settings_(settings),
      colors_(colors),
      hooks_(std::move(hooks)),
      before_(currentAdvancedSettings(settings, colors, store)),
      form_(advancedFormOf(before_)) {
    setWindowTitle(fromUtf8(kTitle));
    // Two columns, the settings at the left and the colours at the right, so that the dialog
    // fits a 768-pixel screen (and 1,080 at scale 1.5); the colour list scrolls if it grows.
    auto* page = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    columns->addLayout(left);
    page->addLayout(columns);
    const auto edit = [this](int id, const std::string& text, int width) {
        auto* e = new QLineEdit(QString::fromStdString(text), this);
        e->setAlignment(Qt::AlignRight);
        e->setFixedWidth(width);
        keep(id, e);
        return e;
    };
    const auto button = [this](int id, auto* b) {
        keep(id, b);
        connect(b, &QAbstractButton::clicked, this, [this, id] { press(id); });
        return b;
    };

    auto* pitch = new QGroupBox(QStringLiteral("ピッチ"), this);
    auto* pitchGrid = new QGridLayout(pitch);
    pitchGrid->addWidget(button(kFixedPitchRadio, new QRadioButton(QStringLiteral("固定ピッチ"))),
                         0, 0, 1, 2);
    pitchGrid->addWidget(button(kStretchRadio, new QRadioButton(QStringLiteral("縦横比伸縮"))), 0,
                         2, 1, 2);
    pitchGrid->addWidget(new QLabel(QStringLiteral("縦横比伸縮の表示本数：")), 1, 0, 1, 3);
    pitchGrid->addWidget(edit(kStretchBarsEdit, form_.stretchBars, 60), 1, 3);
    for (int k = 0; k < kPitchPresetCount; ++k) {
        const int row = 2 + k % 3;
        const int column = k / 3 * 2;
        auto* cell = new QHBoxLayout;
        cell->addWidget(new QLabel(QStringLiteral("プリセット %1：").arg(k + 1)));
        QLineEdit* preset = edit(kFirstPresetEdit + k, form_.presets[static_cast<size_t>(k)], 50);
        cell->addWidget(preset);
        cell->addWidget(new QLabel(fromUtf8(kPitchUnit)));
        // An emptied preset loses its mark at once, a filled one may take it.
        connect(preset, &QLineEdit::textChanged, this, [this, k](const QString& text) {
            form_.presets[static_cast<size_t>(k)] = text.toStdString();
            showMarks();
        });
        pitchGrid->addLayout(cell, row, column);
        pitchGrid->addWidget(
            button(kFirstPresetRadio + k, new QRadioButton(QStringLiteral("使用中"))), row,
            column + 1);
    }
    left->addWidget(pitch);

    auto* other = new QGroupBox(QStringLiteral("自動移動・罫線・印刷"), this);
    auto* otherGrid = new QGridLayout(other);
    otherGrid->addWidget(new QLabel(QStringLiteral("自動移動の間隔（秒）：")), 0, 0);
    otherGrid->addWidget(edit(kStepSecondsEdit, form_.stepSeconds, 60), 0, 1);
    otherGrid->addWidget(new QLabel(QStringLiteral("印刷倍率（％）：")), 1, 0);
    otherGrid->addWidget(edit(kPrintScaleEdit, form_.printScale, 60), 1, 1);
    otherGrid->addWidget(
        button(kFillFallingCheck, new QCheckBox(QStringLiteral("陰線の胴を塗りつぶす"))), 2, 0, 1,
        2);
    otherGrid->addWidget(
        button(kFillRisingCheck,
               new QCheckBox(QStringLiteral("陽線の胴も塗りつぶす（陰線の塗りつぶしと併用）"))),
        3, 0, 1, 2);
    left->addWidget(other);

    auto* editor = new QGroupBox(fromUtf8(editorFieldTitle(platformDefaultEditor())), this);
    auto* editorRow = new QHBoxLayout(editor);
    auto* editorEdit = edit(kEditorEdit, form_.editor, 320);
    editorEdit->setAlignment(Qt::AlignLeft);
    editorRow->addWidget(editorEdit);
    editorRow->addWidget(button(kEditorBrowseButton, new QPushButton(QStringLiteral("参照..."))));
    left->addWidget(editor);
    left->addStretch();

    auto* colorBox = new QGroupBox(QStringLiteral("チャートの色"), this);
    auto* colorColumn = new QVBoxLayout(colorBox);
    auto* list = new QWidget;
    auto* colorGrid = new QGridLayout(list);
    colorGrid->setContentsMargins(0, 0, 0, 0);
    for (int k = 0; k < kEditableColorCount; ++k) {
        auto* b = button(kFirstColorButton + k,
                         new QPushButton(fromUtf8(kEditableColors[static_cast<size_t>(k)].name)));
        b->setStyleSheet(QStringLiteral("text-align: left; padding: 2px 6px"));
        colorGrid->addWidget(b, k % kColorRows, k / kColorRows);
        showColor(k);
    }
    colorGrid->setRowStretch(kColorRows, 1);
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    scroll->setWidget(list);
    // As wide as the list with room for a scroll bar; as tall as the list up to the height a
    // scroll area asks for at most (24 lines), so that more colours scroll rather than grow it.
    scroll->setMinimumWidth(list->sizeHint().width() +
                            scroll->verticalScrollBar()->sizeHint().width());
    scroll->setMinimumHeight(std::min(list->sizeHint().height(), kMostColorListHeight));
    colorColumn->addWidget(scroll, 1);
    auto* reset = new QHBoxLayout;
    reset->addWidget(
        button(kResetColorsButton, new QPushButton(QStringLiteral("色を初期値に戻す"))));
    reset->addStretch();
    colorColumn->addLayout(reset);
    columns->addWidget(colorBox, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton* ok = button(kOkButton, new QPushButton(QStringLiteral("OK")));
    ok->setDefault(true);
    buttons->addWidget(ok);
    buttons->addWidget(button(kCancelButton, new QPushButton(QStringLiteral("キャンセル"))));
    page->addLayout(buttons);

    showMarks();
    adjustSize();
    ok->setFocus();
}

QWidget* AdvancedSettingsDialog::keep(int id, QWidget* widget) {
    byId_[id] = widget;
    return widget;
}

QWidget* AdvancedSettingsDialog::controlById(int id) const {
    const auto it = byId_.find(id);
    return it != byId_.end() ? it->second : nullptr;
}

// A stored mark other than 0 and 1 shows half-checked until the user decides.
void AdvancedSettingsDialog::showMarks() {
    const auto mark = [this](int id, bool on) {
        // The dialog marks its two radio groups itself.
        auto* radio = static_cast<QRadioButton*>(controlById(id));
        radio->setAutoExclusive(false);
        radio->setChecked(on);
    };
    mark(kFixedPitchRadio, form_.pitchMode != 0);
    mark(kStretchRadio, form_.pitchMode == 0);
    for (int k = 0; k < kPitchPresetCount; ++k) {
        mark(kFirstPresetRadio + k, presetShownInUse(form_, k));
    }
    for (const auto& [id, value] : {std::pair{kFillFallingCheck, form_.fillFallingBodies},
                                    std::pair{kFillRisingCheck, form_.fillRisingBodies}}) {
        static_cast<QCheckBox*>(controlById(id))
            ->setCheckState(value == 0   ? Qt::Unchecked
                            : value == 1 ? Qt::Checked
                                         : Qt::PartiallyChecked);
    }
    // Rising bodies are only filled together with the falling ones.
    controlById(kFillRisingCheck)->setEnabled(form_.fillFallingBodies == 1);
}

void AdvancedSettingsDialog::showColor(int k) {
    auto* b = static_cast<QPushButton*>(controlById(kFirstColorButton + k));
    b->setIcon(swatch(form_.colors[static_cast<size_t>(k)]));
    b->setIconSize(QSize(28, 14));
}

void AdvancedSettingsDialog::press(int id) {
    if (id == kFixedPitchRadio || id == kStretchRadio) {
        form_.pitchMode = id == kFixedPitchRadio ? 1 : 0;
    } else if (id >= kFirstPresetRadio && id < kFirstPresetRadio + kPitchPresetCount) {
        form_.pitchIndex = id - kFirstPresetRadio;
    } else if (id == kFillFallingCheck) {
        form_.fillFallingBodies = form_.fillFallingBodies == 0 ? 1 : 0;
    } else if (id == kFillRisingCheck) {
        form_.fillRisingBodies = form_.fillRisingBodies == 0 ? 1 : 0;
    } else if (id >= kFirstColorButton && id < kFirstColorButton + kEditableColorCount) {
        const int k = id - kFirstColorButton;
        ColorRef& color = form_.colors[static_cast<size_t>(k)];
        const std::optional<ColorRef> chosen =
            hooks_.chooseColor ? hooks_.chooseColor(color)
                               : chooseSpreadColor(this, color, kSpreadCustomColors);
        if (chosen) {
            color = *chosen & 0xFFFFFFu;
            showColor(k);
        }
    } else if (id == kResetColorsButton) {
        form_.colors = defaultEditableColors();
        for (int k = 0; k < kEditableColorCount; ++k) {
            showColor(k);
        }
    } else if (id == kEditorBrowseButton) {
        const QString path = hooks_.chooseEditor ? hooks_.chooseEditor()
                                                 : QFileDialog::getOpenFileName(
                                                       this, QStringLiteral("エディタを選ぶ"));
        if (!path.isEmpty()) {
            static_cast<QLineEdit*>(controlById(kEditorEdit))->setText(commandWord(path));
        }
    } else if (id == kOkButton) {
        accepted();
    } else if (id == kCancelButton) {
        reject();
    }
    showMarks();
}

void AdvancedSettingsDialog::accepted() {
    const auto text = [this](int id) {
        return static_cast<QLineEdit*>(controlById(id))->text().toStdString();
    };
    form_.stretchBars = text(kStretchBarsEdit);
    form_.stepSeconds = text(kStepSecondsEdit);
    for (int k = 0; k < kPitchPresetCount; ++k) {
        form_.presets[static_cast<size_t>(k)] = text(kFirstPresetEdit + k);
    }
    form_.printScale = text(kPrintScaleEdit);
    form_.editor = text(kEditorEdit);
    AdvancedSettings chosen;
    const AdvancedFormCheck check = readAdvancedForm(form_, before_, chosen);
    if (!check.ok()) {
        if (hooks_.message) {
            hooks_.message(check.message, kInputErrorCaption);
        } else {
            QMessageBox box(QMessageBox::Warning, fromUtf8(kInputErrorCaption),
                            fromUtf8(check.message), QMessageBox::Ok, this);
            box.setTextFormat(Qt::PlainText);
            box.exec();
        }
        if (auto* field = qobject_cast<QLineEdit*>(controlById(check.control))) {
            field->setFocus();
            field->selectAll();
        }
        return;
    }
    applyAdvancedSettings(store_, before_, chosen, settings_, colors_);
    accept();
}

void runAdvancedSettingsDialog(QWidget* owner, AppContext& a, Shell& shell) {
    if (a.store == nullptr) {
        return;
    }
    AdvancedSettingsDialog dialog(owner, *a.store, a.settings, a.colors);
    if (dialog.exec() == QDialog::Accepted) {
        shell.invalidateWindow();
    }
}

}  // namespace zepa
