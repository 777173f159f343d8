// The three dialogs as built with Qt: controls found by id carry the template's texts, clicks
// reach the settings, and each dialog ends with the result its callers read.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <string>
#include <vector>

#include "app/app_context.h"
#include "app/window/about_dialog.h"
#include "app/window/input_dialog.h"
#include "app/window/settings_dialog.h"

namespace zepa {
namespace {

QString textOf(const QWidget* w) {
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
        return b->text();
    }
    if (const auto* e = qobject_cast<const QLineEdit*>(w)) {
        return e->text();
    }
    if (const auto* l = qobject_cast<const QLabel*>(w)) {
        return l->text();
    }
    return QStringLiteral("<none>");
}

void click(QWidget* w) {
    ASSERT_NE(w, nullptr);
    static_cast<QAbstractButton*>(w)->click();
}

TEST(SettingsDialogWindow, ControlsByIdClicksAndTheCloseBox) {
    ChartSettings settings;
    ColorTable colors;
    resetSpreadColors(colors);
    std::vector<std::string> calls;
    SettingsDialogHooks hooks;
    hooks.rebuildSeries = [&] {
        calls.push_back("rebuild " + std::to_string(settings.buyAveragePeriod));
        return true;
    };
    hooks.invalidateFrame = [&] { calls.push_back("frame"); };
    hooks.chooseColor = [](ColorRef) { return std::optional<ColorRef>(rgbColor(9, 9, 9)); };
    SettingsDialog dialog(nullptr, settings, colors, hooks);
    dialog.show();

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("設定"));
    EXPECT_EQ(textOf(dialog.control(305)), QStringLiteral("移動平均を表示する"));
    EXPECT_EQ(textOf(dialog.control(311)), QStringLiteral("買い銘柄"));
    EXPECT_EQ(textOf(dialog.control(220)), QStringLiteral("設定終了"));
    EXPECT_EQ(textOf(dialog.control(225)), QStringLiteral("   5"));
    for (int id = 240; id < 250; ++id) {
        EXPECT_NE(dialog.control(id), nullptr) << id;
    }
    // Proportions: the sell column's buttons sit right of the buy column's swatches.
    EXPECT_GT(dialog.control(234)->x(), dialog.control(240)->geometry().right());
    EXPECT_GT(dialog.control(220)->y(), dialog.control(221)->geometry().bottom());

    click(dialog.control(300));
    auto* candles = qobject_cast<QCheckBox*>(dialog.control(300));
    EXPECT_EQ(settings.buyCandles, 0);
    EXPECT_FALSE(candles->isChecked());
    click(dialog.control(313));
    click(dialog.control(313));  // a second click keeps the mark
    EXPECT_EQ(settings.spreadSource, 1);
    EXPECT_TRUE(qobject_cast<QRadioButton*>(dialog.control(313))->isChecked());
    EXPECT_FALSE(qobject_cast<QRadioButton*>(dialog.control(312))->isChecked());

    click(dialog.control(236));
    EXPECT_EQ(colors.colors[96], rgbColor(9, 9, 9));
    // The swatch shows the chosen colour inside its black frame.
    const QImage swatch = dialog.control(246)->grab().toImage();
    EXPECT_EQ(swatch.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(swatch.pixelColor(swatch.width() / 2, swatch.height() / 2), QColor(9, 9, 9));

    qobject_cast<QLineEdit*>(dialog.control(225))->setText(QStringLiteral("13"));
    dialog.close();  // the title bar's close box
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(settings.buyAveragePeriod, 13);
    EXPECT_EQ(calls, (std::vector<std::string>{"frame", "rebuild 13", "frame"}));
}

TEST(InputDialogWindow, PitchRefusesThenAcceptsAndScaleCancels) {
    ChartSettings settings;
    InputDialog pitch(nullptr, settings, 2);
    std::vector<std::string> messages;
    pitch.showMessage = [&](std::string_view text, std::string_view caption) {
        messages.push_back(std::string(caption) + ":" + std::string(text));
    };
    pitch.show();
    EXPECT_EQ(pitch.windowTitle(), QStringLiteral("ピッチの一時変更"));
    EXPECT_EQ(textOf(pitch.control(241)), QStringLiteral("ピッチを入力して下さい"));
    EXPECT_EQ(textOf(pitch.control(225)), QString());
    EXPECT_EQ(textOf(pitch.control(221)), QStringLiteral("ｷｬﾝｾﾙ"));
    EXPECT_TRUE(qobject_cast<QPushButton*>(pitch.control(220))->isDefault());

    auto* edit = qobject_cast<QLineEdit*>(pitch.control(225));
    edit->setText(QStringLiteral("0.05"));
    click(pitch.control(220));
    EXPECT_TRUE(pitch.isVisible());
    EXPECT_EQ(messages, std::vector<std::string>{"入力エラー:ピッチは 0.1 から 50 までです"});
    EXPECT_EQ(edit->text(), QStringLiteral("0.05"));  // kept for the user to correct
    edit->setText(QStringLiteral("2.5"));
    click(pitch.control(220));
    EXPECT_FALSE(pitch.isVisible());
    EXPECT_EQ(pitch.state().keyCommand, 220);
    EXPECT_EQ(settings.pitch, 2.5f);

    InputDialog scale(nullptr, settings, 4);
    scale.show();
    EXPECT_EQ(scale.windowTitle(), QStringLiteral("印刷のサイズ指定"));
    EXPECT_EQ(textOf(scale.control(241)), QStringLiteral("倍率（％）を指定して下さい"));
    EXPECT_EQ(textOf(scale.control(225)), QStringLiteral(" 100"));
    scale.close();  // the close box cancels
    EXPECT_EQ(scale.state().keyCommand, 221);
    EXPECT_EQ(settings.printScale, 100);
}

TEST(InputDialogWindow, EntryPointLeavesKeyCommandAndText) {
    AppContext a;
    a.view.keyCommand = -1;
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* d = static_cast<InputDialog*>(dialog);
        qobject_cast<QLineEdit*>(d->control(225))->setText(QStringLiteral("250"));
        click(d->control(220));
    });
    std::string text;
    EXPECT_EQ(runInputDialog(nullptr, a, 4, &text), 220);
    EXPECT_EQ(a.view.keyCommand, 220);
    EXPECT_EQ(printScaleFromInput(text), 250);
}

TEST(AboutDialogWindow, ShowsTheProgramLineAndEndsOnOk) {
    AboutDialog about(nullptr);
    about.show();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(textOf(about.control(220)), QStringLiteral("O K"));
    QStringList texts;
    bool iconShown = false;
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        texts << label->text();
        iconShown = iconShown || !label->pixmap().isNull();
    }
    EXPECT_TRUE(texts.contains(QStringLiteral("ZEPA_SPW.EXE   Version  1.0")));
    EXPECT_TRUE(iconShown);
    click(about.control(220));
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), 1);
}

}  // namespace
}  // namespace zepa
