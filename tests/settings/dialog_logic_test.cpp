#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "settings/input_dialog_logic.h"
#include "settings/settings_dialog_logic.h"
#include "settings/settings_persistence.h"

namespace zepa {
namespace {

using namespace settings_dialog;
using Ints = std::vector<int32_t>;
using Calls = std::vector<std::string>;

struct RecordingControls final : SettingsDialogControls {
    std::map<int, int32_t> checks;
    std::map<int, std::string> edits;
    Calls calls;
    bool answerYes = false;
    bool buildSucceeds = true;

    void setCheck(int id, int32_t value) override { checks[id] = value; }
    void setEditText(int id, std::string_view text) override { edits[id] = text; }
    std::string editText(int id) override { return edits[id]; }
    bool askYesNo(std::string_view text, std::string_view caption) override {
        calls.push_back(std::string(caption) + " " + std::string(text));
        return answerYes;
    }
    void warn(std::string_view text, std::string_view caption) override {
        calls.push_back(std::string(caption) + ":" + std::string(text));
    }
    std::optional<ColorRef> chooseColor(ColorRef, const std::array<ColorRef, 16>&) override {
        return std::nullopt;
    }
    void repaintSwatches() override {}
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
    bool press(int id) { return settingsDialogCommand(settings, colors, controls, id); }
};

TEST_F(SettingsDialogLogic, StoredValuesOutsideTheirGroupsShowAndToggle) {
    settings.sellTomeashi = 2;  // from the store: off for the chart, and the first toggle clears
    settings.spreadSource = 7;  // neither radio marked
    fillSettingsDialog(settings, controls);
    EXPECT_EQ((Ints{controls.checks[kSellTomeashiCheck], controls.checks[kSourceCloseRadio],
                    controls.checks[kSourceAverageRadio]}),
              (Ints{2, 0, 0}));

    EXPECT_FALSE(press(kSellTomeashiCheck));
    EXPECT_EQ(settings.sellTomeashi, 0);
    press(kSellTomeashiCheck);
    EXPECT_EQ(settings.sellTomeashi, 1);
    press(kBaseBuyRadio);
    EXPECT_EQ((Ints{settings.spreadBase, controls.checks[kBaseSellRadio]}), (Ints{1, 0}));
    // Nothing is rebuilt or repainted before the dialog closes.
    EXPECT_TRUE(controls.calls.empty());
}

TEST_F(SettingsDialogLogic, ResetAsksAndRestoresOnlyItsFields) {
    resetColorTable(colors);
    settings.buyCandles = 0;
    settings.buyAveragePeriod = 25;
    settings.lowerPaneMode = 2;
    settings.ratioChart = settings.overlaySellAtEntry = settings.splitAdjustedDisplay = 1;
    settings.ratioPeriod = 250;
    settings.deadlineDays = 5;
    colors.colors[90] = 0x123456;
    colors.colors[15] = 0x654321;

    press(kResetButton);  // answered No
    EXPECT_EQ(controls.calls,
              Calls{"設定の初期化 今までの設定が失われます\n\n実行してもよろしいですか？"});
    EXPECT_EQ(settings.buyAveragePeriod, 25);

    controls.answerYes = true;
    EXPECT_FALSE(press(kResetButton));  // the dialog stays open
    // The dialog's fields, options, days and colours only; the lower pane stays.
    EXPECT_EQ((Ints{settings.buyCandles, settings.buyAveragePeriod, settings.lowerPaneMode,
                    settings.ratioChart, settings.ratioPeriod, settings.overlaySellAtEntry,
                    settings.splitAdjustedDisplay, settings.deadlineDays}),
              (Ints{1, 5, 2, 0, 25, 0, 0, 20}));
    EXPECT_EQ((std::vector{colors.colors[90], colors.colors[15]}),
              (std::vector<ColorRef>{rgbColor(0, 0, 255), 0x654321u}));
    EXPECT_EQ((std::vector{controls.edits[kBuyPeriodEdit], controls.edits[kDeadlineDaysEdit]}),
              (std::vector<std::string>{"   5", "  20"}));
}

TEST_F(SettingsDialogLogic, CloseEndsEvenWhenThePeriodsAreJunkAndTheBuildFails) {
    controls.buildSucceeds = false;  // the build has shown its own message
    fillSettingsDialog(settings, controls);
    controls.edits[kBuyPeriodEdit] = "abc";
    controls.edits[kSellPeriodEdit] = "  -3x" + std::string(300, '9');
    EXPECT_TRUE(press(kCloseButton));
    EXPECT_EQ((Ints{settings.buyAveragePeriod, settings.sellAveragePeriod}), (Ints{0, -3}));
    EXPECT_EQ(controls.calls, (Calls{"rebuild", "frame", "end 1"}));
}

TEST_F(SettingsDialogLogic, RatioOptionsToggle) {
    fillSettingsDialog(settings, controls);
    for (int id :
         {kRatioChartCheck, kOverlaySellCheck, kShowBacktestCheck, kChangeRateOfEntryCheck}) {
        press(id);
    }
    EXPECT_EQ((Ints{settings.ratioChart, settings.overlaySellAtEntry, settings.showBacktest,
                    settings.changeRateOfEntry, controls.checks[kChangeRateOfEntryCheck]}),
              (Ints{1, 1, 1, 1, 1}));
}

// A ratio period or a count of days that does not read keeps the dialog open, says why and takes
// nothing typed, not even the other, valid field.
TEST_F(SettingsDialogLogic, PeriodAndDaysOutOfRangeAreRefusedWithNothingTaken) {
    fillSettingsDialog(settings, controls);
    EXPECT_EQ(controls.edits[kRatioPeriodEdit], "  25");
    EXPECT_EQ(controls.edits[kDeadlineDaysEdit], "  20");
    const std::string none = "入力エラー:入力がありません";
    const std::string ratio = "入力エラー:レシオケータの期間は 5 から 250 までです";
    const std::string days = "入力エラー:期日の合図(残日数)は 0 から 366 までです";
    const std::tuple<int, const char*, std::string> refused[] = {
        {kRatioPeriodEdit, "", none},
        {kRatioPeriodEdit, "   ", none},
        {kRatioPeriodEdit, "4", ratio},
        {kRatioPeriodEdit, "251", ratio},
        {kRatioPeriodEdit, "2 5", ratio},
        {kDeadlineDaysEdit, "-1", days},
        {kDeadlineDaysEdit, "367", days},
        {kDeadlineDaysEdit, "30日", days},
        {kDeadlineDaysEdit, "99999999999", days}};
    for (const auto& [edit, typed, message] : refused) {
        controls.calls.clear();
        controls.edits[kRatioPeriodEdit] = "30";
        controls.edits[kDeadlineDaysEdit] = "30";
        controls.edits[edit] = typed;
        EXPECT_FALSE(press(kCloseButton)) << typed;
        EXPECT_EQ(controls.calls, Calls{message}) << typed;
        EXPECT_EQ((Ints{settings.deadlineDays, settings.ratioPeriod}), (Ints{20, 25})) << typed;
    }
    // The ends taken, blanks around them allowed.
    for (const auto& [period, typedDays, taken] :
         {std::tuple{" 250 ", " 0 ", Ints{250, 0}}, {"5", "366", Ints{5, 366}}}) {
        controls.calls.clear();
        controls.edits[kRatioPeriodEdit] = period;
        controls.edits[kDeadlineDaysEdit] = typedDays;
        EXPECT_TRUE(press(kCloseButton)) << period;
        EXPECT_EQ(controls.calls, (Calls{"rebuild", "frame", "end 1"}));
        EXPECT_EQ((Ints{settings.ratioPeriod, settings.deadlineDays}), taken);
    }
}

TEST(DialogGeometry, CentresOnTheScreenAndKeepsToItsTopLeft) {
    const auto at = [](DialogPoint p) { return Ints{p.x, p.y}; };
    EXPECT_EQ(at(centerDialog(DialogRect{0, 0, 1024, 768}, 2000, 1000)), (Ints{0, 0}));
    EXPECT_EQ(at(centerDialog(DialogRect{1920, -100, 1280, 1024}, 400, 300)),
              (Ints{1920 + 440, -100 + 362}));

    // Base units 8 x 16, rounded to nearest: 22.75, 9.375, 456.75, 20.625.
    const DialogRect px = dialogUnitsToPixels(DialogRect{13, 5, 261, 11}, 7, 15);
    EXPECT_EQ((Ints{px.x, px.y, px.width, px.height}), (Ints{23, 9, 457, 21}));
}

TEST(InputDialogLogic, RangesMessagesAndTheKeptText) {
    using namespace input_dialog;
    const std::string pitch = "ピッチは 0.1 から 50 までです", none = "入力がありません",
                      wrong = "入力に誤りがあります";
    // {mode, text, message}; no message: accepted.
    const std::tuple<int, const char*, std::string> rows[] = {
        {kPitchMode, "50", ""},       {kPitchMode, "0.1", ""},
        {kPitchMode, " 12.5abc", ""}, {kPitchMode, "50.01", pitch},
        {kPitchMode, "0.05", pitch},  {kPitchMode, "nan", pitch},
        {kPitchMode, "", none},       {kPrintScaleMode, "0", wrong},
        {kPrintScaleMode, "", none},  {kPrintScaleMode, "99999999999", ""}};
    ChartSettings settings;
    for (const auto& [mode, text, message] : rows) {
        InputDialogState state;
        state.mode = mode;
        const InputDialogStep step = inputDialogCommand(state, settings, kExecuteButton, text);
        EXPECT_EQ(step.message, message) << text;
        EXPECT_EQ((std::pair{step.ended, state.keyCommand}),
                  (std::pair{message.empty(), message.empty() ? 220 : -1}))
            << text;
    }
    // The last pitch accepted; the scale is left to the caller, which saturates it.
    EXPECT_EQ(settings.pitch, 12.5f);
    EXPECT_EQ(settings.printScale, 100);
    EXPECT_EQ(printScaleFromInput("99999999999"), INT32_MAX);

    // The kept text is cut at its limit and at a NUL.
    InputDialogState state;
    state.mode = kPrintScaleMode;
    inputDialogCommand(state, settings, kExecuteButton, std::string(300, '7'));
    EXPECT_EQ(state.inputText.size(), kInputTextLimit);
    inputDialogCommand(state, settings, kExecuteButton,
                       std::string("12\0"
                                   "34",
                                   5));
    EXPECT_EQ(state.inputText, "12");
}

}  // namespace
}  // namespace zepa
