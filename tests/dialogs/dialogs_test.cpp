#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTranslator>

#include <algorithm>
#include <vector>

#include "app/window/advanced_settings_dialog.h"
#include "app/window/input_dialog.h"
#include "app/window/qt_japanese.h"
#include "app/window/settings_dialog.h"
#include "settings/memory_value_store.h"

namespace zepa {
namespace {

// The window title, then control ids with their texts.
void expectTexts(const TemplateDialog& d, const char* title,
                 const std::vector<std::pair<int, const char*>>& texts) {
    EXPECT_EQ(d.windowTitle(), QString::fromUtf8(title));
    for (const auto& [id, text] : texts) {
        const QWidget* c = d.control(id);
        EXPECT_EQ(c ? c->property("text").toString() : "<none>", QString::fromUtf8(text)) << id;
    }
}

void click(QWidget* w) {
    ASSERT_NE(w, nullptr);
    static_cast<QAbstractButton*>(w)->click();
}

TEST(Dialogs, SettingsCloseBoxTakesTheEditedPeriodAndEnds) {
    ChartSettings settings;
    ColorTable colors;
    std::vector<int> calls;  // a rebuild records the average period, a repaint -1
    SettingsDialog dialog(nullptr, settings, colors,
                          {[&] { return calls.push_back(settings.buyAveragePeriod), true; },
                           [&] { calls.push_back(-1); }, nullptr, nullptr, nullptr});
    dialog.show();
    expectTexts(dialog, "設定", {{220, "設定終了"}, {225, "   5"}, {227, "  25"}});
    qobject_cast<QLineEdit*>(dialog.control(225))->setText(QStringLiteral("13"));
    dialog.close();  // the title bar's close box
    EXPECT_TRUE(!dialog.isVisible() && dialog.result() == 1 && settings.buyAveragePeriod == 13);
    EXPECT_EQ(calls, (std::vector<int>{13, -1}));
}

TEST(Dialogs, InputShowsItsTextsAndEndsAsItsCallersRead) {
    ChartSettings settings;
    InputDialog pitch(nullptr, settings, input_dialog::kPitchMode);
    std::vector<std::string> messages;
    pitch.showMessage = [&](std::string_view text, std::string_view caption) {
        messages.push_back(std::string(caption) + ":" + std::string(text));
    };
    pitch.show();
    expectTexts(pitch, "ピッチの一時変更",
                {{241, "ピッチを入力して下さい"}, {225, ""}, {221, "ｷｬﾝｾﾙ"}});
    auto* edit = qobject_cast<QLineEdit*>(pitch.control(225));
    edit->setText(QStringLiteral("0.05"));
    click(pitch.control(220));
    EXPECT_TRUE(pitch.isVisible() && edit->text() == QStringLiteral("0.05"));  // to correct
    EXPECT_EQ(messages, std::vector<std::string>{"入力エラー:ピッチは 0.1 から 50 までです"});
    edit->setText(QStringLiteral("2.5"));
    click(pitch.control(220));
    EXPECT_TRUE(!pitch.isVisible() && pitch.state().keyCommand == 220 && settings.pitch == 2.5f);
    InputDialog scale(nullptr, settings, input_dialog::kPrintScaleMode);
    scale.show();
    expectTexts(scale, "印刷のサイズ指定", {{241, "倍率（％）を指定して下さい"}, {225, " 100"}});
    scale.close();  // the close box cancels
    EXPECT_TRUE(scale.state().keyCommand == 221 && settings.printScale == 100);
}

TEST(Dialogs, AdvancedSettingsRefuseAFieldApplyOnOkAndCancelWithoutWriting) {
    using namespace advanced_dialog;
    MemoryValueStore store;
    ChartSettings settings;
    ColorTable colors;
    resetColorTable(colors);
    int messages = 0;  // their texts: the form's tests
    AdvancedDialogHooks hooks;
    hooks.message = [&](std::string_view, std::string_view) { ++messages; };
    hooks.chooseColor = [](ColorRef) { return rgbColor(0, 128, 0); };
    hooks.chooseEditor = [] { return QStringLiteral("/opt/my editor/edit"); };

    {
        AdvancedSettingsDialog cancelled(nullptr, store, settings, colors, hooks);
        cancelled.show();
        qobject_cast<QLineEdit*>(cancelled.controlById(kFirstPresetEdit))->setText("3");
        click(cancelled.controlById(kFirstColorButton + 1));
        click(cancelled.controlById(kCancelButton));
        EXPECT_FALSE(cancelled.isVisible());
    }
    EXPECT_TRUE(store.values.empty());
    EXPECT_EQ(settings.pitchTable[0], 0);

    AdvancedSettingsDialog dialog(nullptr, store, settings, colors, hooks);
    dialog.show();
    auto* preset = qobject_cast<QLineEdit*>(dialog.controlById(kFirstPresetEdit + 1));
    preset->setText(QStringLiteral("60"));
    click(dialog.controlById(kOkButton));
    EXPECT_TRUE(dialog.isVisible() && dialog.focusWidget() == preset && messages == 1);
    EXPECT_TRUE(store.values.empty());

    preset->setText(QStringLiteral("3.5"));
    click(dialog.controlById(kFirstPresetRadio + 1));
    click(dialog.controlById(kStretchRadio));
    click(dialog.controlById(kFillFallingCheck));
    click(dialog.controlById(kFirstColorButton + 1));  // the chart background
    click(dialog.controlById(kEditorBrowseButton));
    click(dialog.controlById(kOkButton));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(colors.colors[11], rgbColor(0, 128, 0));
    EXPECT_EQ(*store.find("CHART", "Mode_1"), "0,0,0,0,0,0,1,0,0,0,120,0,40,0,35,0,0,0,0,1");
    EXPECT_EQ(*store.find("CHART", "COLOR_1"),
              "16711680,32768,0,8421440,16777215,8421504,8421504,0,16711680,255");
    EXPECT_EQ(*store.find("MENU", "EDITOR"), "\"/opt/my editor/edit\"");
}

TEST(Dialogs, AdvancedSettingsMarkOnlyAFilledPresetInUse) {
    using namespace advanced_dialog;
    MemoryValueStore store;
    ChartSettings settings;
    settings.pitchTable = {40, 0, 25, 0, 0, 0};
    settings.pitchIndex = 1;  // an empty preset in use: the pitch button skips it
    ColorTable colors;
    AdvancedSettingsDialog dialog(nullptr, store, settings, colors);
    auto* mark = static_cast<QAbstractButton*>(dialog.controlById(kFirstPresetRadio + 1));
    auto* preset = qobject_cast<QLineEdit*>(dialog.controlById(kFirstPresetEdit + 1));
    EXPECT_FALSE(mark->isChecked());
    preset->setText("3.5");
    EXPECT_TRUE(mark->isChecked());
    preset->setText(" ");
    EXPECT_FALSE(mark->isChecked());
}

// Qt's own dialogs and buttons read in Japanese whatever the locale (LANG is C in the tests).
TEST(Dialogs, QtsOwnDialogsReadInJapanese) {
    QTranslator* japanese = installQtJapanese(*QCoreApplication::instance());
    ASSERT_NE(japanese, nullptr) << "Qt's Japanese translations (qt6-translations-l10n) missing";
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                             QDialogButtonBox::Yes | QDialogButtonBox::No);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
    EXPECT_EQ(buttons.button(QDialogButtonBox::Yes)->text(), QStringLiteral("はい(&Y)"));
    QColorDialog colors;
    colors.setOption(QColorDialog::DontUseNativeDialog);
    EXPECT_EQ(colors.windowTitle(), QStringLiteral("色を選択"));
    QCoreApplication::removeTranslator(japanese);
    delete japanese;
}

}  // namespace
}  // namespace zepa
