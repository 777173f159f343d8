// The settings dialog driven through its handlers by control id, with a recording window.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "settings/settings_dialog_logic.h"

namespace zepa {
namespace {

using namespace settings_dialog;
using Ints = std::vector<int32_t>;

struct RecordingControls final : SettingsDialogControls {
    std::map<int, int32_t> checks;
    std::map<int, std::string> edits;
    std::vector<std::string> calls;
    bool answerYes = false;
    std::optional<ColorRef> chosen;
    bool buildSucceeds = true;

    void setCheck(int id, int32_t value) override { checks[id] = value; }
    void setEditText(int id, std::string_view text) override { edits[id] = text; }
    std::string editText(int id) override { return edits[id]; }
    bool askYesNo(std::string_view text, std::string_view caption) override {
        calls.push_back("ask " + std::string(caption) + " " + std::string(text));
        return answerYes;
    }
    std::optional<ColorRef> chooseColor(ColorRef initial,
                                        const std::array<ColorRef, 16>& custom) override {
        calls.push_back("choose " + std::to_string(initial) + " " + std::to_string(custom[1]));
        return chosen;
    }
    void repaintSwatches() override { calls.push_back("swatches"); }
    void invalidateFrame() override { calls.push_back("frame"); }
    bool rebuildSeries() override {
        calls.push_back("rebuild");
        return buildSucceeds;
    }
    void endDialog(int result) override { calls.push_back("end " + std::to_string(result)); }
};

struct SettingsDialogLogic : ::testing::Test {
    ChartSettings settings;
    ColorTable colors;
    RecordingControls controls;

    void SetUp() override {
        resetColorTable(colors);
        resetSpreadColors(colors);
    }
    bool press(int id) { return settingsDialogCommand(settings, colors, controls, id); }
};

TEST_F(SettingsDialogLogic, FillShowsFieldsChecksRadiosAndFourWidePeriods) {
    settings.buyAverage = 1;
    settings.sellTomeashi = 2;
    settings.spreadBase = 1;
    settings.spreadSource = 7;  // out of its group: neither radio marked
    settings.sellAveragePeriod = 12345;
    fillSettingsDialog(settings, controls);
    EXPECT_EQ((Ints{controls.checks[kBuyCandlesCheck], controls.checks[kBuyAverageCheck],
                    controls.checks[kSellTomeashiCheck], controls.checks[kBaseSellRadio],
                    controls.checks[kBaseBuyRadio], controls.checks[kSourceCloseRadio],
                    controls.checks[kSourceAverageRadio]}),
              (Ints{1, 1, 2, 0, 1, 0, 0}));
    EXPECT_EQ(controls.edits[kBuyPeriodEdit], "   5");
    EXPECT_EQ(controls.edits[kSellPeriodEdit], "12345");
}

TEST_F(SettingsDialogLogic, ChecksToggleTheirOwnFieldAndRadiosMarkTheirGroup) {
    settings.sellTomeashi = 2;  // from the store: off for the chart, and the first toggle clears
    EXPECT_FALSE(press(kSellTomeashiCheck));
    EXPECT_EQ(settings.sellTomeashi, 0);
    press(kSellTomeashiCheck);
    EXPECT_EQ(settings.sellTomeashi, 1);
    EXPECT_EQ(controls.checks[kSellTomeashiCheck], 1);

    press(kSellAverageCheck);
    EXPECT_EQ(settings.sellAverage, 1);
    EXPECT_EQ(settings.buyAverage, 0);  // untouched

    press(kBaseBuyRadio);
    press(kSourceAverageRadio);
    EXPECT_EQ(settings.spreadBase, 1);
    EXPECT_EQ(settings.spreadSource, 1);
    EXPECT_EQ(controls.checks[kBaseSellRadio], 0);
    // Nothing is rebuilt or repainted before the dialog closes.
    EXPECT_TRUE(controls.calls.empty());
    EXPECT_FALSE(press(999));
}

TEST_F(SettingsDialogLogic, ColourButtonsEditTheirRowNineEntry) {
    controls.chosen = rgbColor(1, 2, 3);
    press(238);  // the buy leg's moving average
    EXPECT_EQ(colors.colors[98], rgbColor(1, 2, 3));
    ASSERT_EQ(controls.calls.size(), 3u);
    EXPECT_EQ(controls.calls[0], "choose " + std::to_string(rgbColor(255, 0, 0)) + " " +
                                     std::to_string(rgbColor(63, 63, 63)));
    EXPECT_EQ(controls.calls[1], "swatches");
    EXPECT_EQ(controls.calls[2], "frame");

    controls.chosen.reset();  // cancelled
    press(237);
    EXPECT_EQ(colors.colors[97], rgbColor(0, 0, 255));
    EXPECT_EQ(controls.calls.back(), "frame");
}

TEST_F(SettingsDialogLogic, ResetAsksAndRestoresOnlyItsFields) {
    settings.buyCandles = 0;
    settings.sellAverage = 1;
    settings.spreadSource = 1;
    settings.buyAveragePeriod = 25;
    settings.pitch = 7.5f;
    settings.lowerPaneMode = 2;
    colors.colors[90] = 0x123456;
    colors.colors[15] = 0x654321;
    const ChartSettings before = settings;

    press(kResetButton);  // answered No
    EXPECT_EQ(controls.calls,
              std::vector<std::string>{"ask 設定の初期化 今までの設定が失われます\n\n"
                                       "実行してもよろしいですか？"});
    EXPECT_EQ(settings.buyCandles, before.buyCandles);
    EXPECT_EQ(colors.colors[90], 0x123456u);

    controls.answerYes = true;
    EXPECT_FALSE(press(kResetButton));  // the dialog stays open
    // The dialog's fields and colours only; pitch and lower pane stay.
    EXPECT_EQ((Ints{settings.buyCandles, settings.sellAverage, settings.spreadSource,
                    settings.buyAveragePeriod, settings.lowerPaneMode}),
              (Ints{1, 0, 0, 5, 2}));
    EXPECT_EQ(settings.pitch, 7.5f);
    EXPECT_EQ((std::vector{colors.colors[90], colors.colors[15]}),
              (std::vector<ColorRef>{rgbColor(0, 0, 255), 0x654321u}));
    EXPECT_EQ(controls.edits[kBuyPeriodEdit], "   5");
    EXPECT_EQ(controls.checks[kBuyCandlesCheck], 1);
    EXPECT_EQ(controls.calls.back(), "frame");
}

TEST_F(SettingsDialogLogic, CloseReadsPeriodsThenRebuildsThenRepaintsThenEnds) {
    controls.edits[kBuyPeriodEdit] = "";
    controls.edits[kSellPeriodEdit] = "  -3x";
    EXPECT_TRUE(press(kCloseButton));
    EXPECT_EQ(settings.buyAveragePeriod, 0);
    EXPECT_EQ(settings.sellAveragePeriod, -3);
    EXPECT_EQ(controls.calls, (std::vector<std::string>{"rebuild", "frame", "end 1"}));

    // A failed build has shown its message; the frame repaints and the dialog ends all the same.
    RecordingControls failing;
    failing.buildSucceeds = false;
    failing.edits[kBuyPeriodEdit] = "abc";
    failing.edits[kSellPeriodEdit] = std::string(300, '9');
    EXPECT_TRUE(settingsDialogCommand(settings, colors, failing, kCloseButton));
    EXPECT_EQ(settings.buyAveragePeriod, 0);
    EXPECT_EQ(failing.calls, (std::vector<std::string>{"rebuild", "frame", "end 1"}));
}

TEST(DialogGeometry, CentresOnTheScreenAndKeepsToItsTopLeft) {
    const auto at = [](DialogPoint p) { return Ints{p.x, p.y}; };
    const DialogRect screen{0, 0, 1024, 768};
    EXPECT_EQ(at(centerDialog(screen, 301, 200)), (Ints{361, 284}));
    EXPECT_EQ(at(centerDialog(screen, 2000, 1000)), (Ints{0, 0}));
    EXPECT_EQ(at(centerDialog(DialogRect{1920, -100, 1280, 1024}, 400, 300)),
              (Ints{1920 + 440, -100 + 362}));

    // Dialog units with base units 8 x 16: quarters and eighths, rounded to nearest
    // (22.75, 9.375, 456.75, 20.625).
    const DialogRect px = dialogUnitsToPixels(DialogRect{13, 5, 261, 11}, 7, 15);
    EXPECT_EQ((Ints{px.x, px.y, px.width, px.height}), (Ints{23, 9, 457, 21}));
}

}  // namespace
}  // namespace zepa
