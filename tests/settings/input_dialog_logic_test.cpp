// The input dialog's accept and refuse rules in both modes, driven by button id; its texts are
// checked on the Qt dialog.
#include <gtest/gtest.h>

#include "settings/input_dialog_logic.h"

namespace zepa {
namespace {

using namespace input_dialog;

struct InputDialogLogic : ::testing::Test {
    ChartSettings settings;
    InputDialogState state;

    InputDialogStep execute(int mode, std::string_view text) {
        state = InputDialogState{};
        state.mode = mode;
        return inputDialogCommand(state, settings, kExecuteButton, text);
    }
};

TEST_F(InputDialogLogic, PitchAcceptsFromOneTenthToFifty) {
    for (const char* text : {"50", "0.1", " 12.5abc"}) {
        const InputDialogStep step = execute(kPitchMode, text);
        EXPECT_TRUE(step.ended) << text;
        EXPECT_TRUE(step.message.empty());
        EXPECT_EQ(state.keyCommand, 220);
        EXPECT_EQ(state.inputText, text);
    }
    EXPECT_EQ(settings.pitch, 12.5f);

    for (const char* text : {"50.01", "0", "0.05", "abc", "-7", "1e40", "nan"}) {
        const InputDialogStep step = execute(kPitchMode, text);
        EXPECT_FALSE(step.ended) << text;
        EXPECT_EQ(step.message, "ピッチは 0.1 から 50 までです");
        EXPECT_EQ(state.keyCommand, -1);
    }
    EXPECT_EQ(settings.pitch, 12.5f);

    const InputDialogStep empty = execute(kPitchMode, "");
    EXPECT_FALSE(empty.ended);
    EXPECT_EQ(empty.message, "入力がありません");
}

TEST_F(InputDialogLogic, PrintScaleNeedsAPositiveNumberAndLeavesTheScaleToTheCaller) {
    for (const char* text : {"0", "-5", "x"}) {
        const InputDialogStep step = execute(kPrintScaleMode, text);
        EXPECT_FALSE(step.ended) << text;
        EXPECT_EQ(step.message, "入力に誤りがあります");
    }
    EXPECT_EQ(execute(kPrintScaleMode, "").message, "入力がありません");

    const InputDialogStep step = execute(kPrintScaleMode, " 250");
    EXPECT_TRUE(step.ended);
    EXPECT_EQ(state.keyCommand, 220);
    EXPECT_EQ(printScaleFromInput(state.inputText), 250);
    EXPECT_EQ(settings.printScale, 100);
    EXPECT_EQ(settings.pitch, 5.0f);
    EXPECT_EQ(printScaleFromInput("99999999999"), INT32_MAX);
    EXPECT_TRUE(execute(kPrintScaleMode, "99999999999").ended);
}

TEST_F(InputDialogLogic, CancelChangesOnlyKeyCommandAndTextIsCut) {
    state.mode = kPitchMode;
    const InputDialogStep step = inputDialogCommand(state, settings, kCancelButton, "3");
    EXPECT_TRUE(step.ended);
    EXPECT_EQ(state.keyCommand, 221);
    EXPECT_EQ(settings.pitch, 5.0f);
    EXPECT_FALSE(inputDialogCommand(state, settings, 225, "3").ended);

    execute(kPrintScaleMode, std::string(300, '7'));
    EXPECT_EQ(state.inputText.size(), kInputTextLimit);
    execute(kPrintScaleMode, std::string("12\0"
                                         "34",
                                         5));
    EXPECT_EQ(state.inputText, "12");
}

}  // namespace
}  // namespace zepa
