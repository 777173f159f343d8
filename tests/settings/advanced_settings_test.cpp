#include <gtest/gtest.h>

#include <functional>

#include "settings/advanced_dialog_logic.h"
#include "settings/memory_value_store.h"
#include "settings/settings_persistence.h"

namespace zepa {
namespace {

using namespace advanced_dialog;

struct AdvancedSettingsTest : ::testing::Test {
    // Loads the store as the viewer does at start-up and opens the dialog's form on it.
    void open() {
        settings = ChartSettings{};
        resetColorTable(colors);
        resetSpreadColors(colors);
        loadChartSettings(store, settings, colors);
        before = currentAdvancedSettings(settings, colors, store);
        form = advancedFormOf(before);
    }
    // "OK": the form is read and, when accepted, applied.
    AdvancedFormCheck ok() {
        AdvancedSettings after;
        const AdvancedFormCheck check = readAdvancedForm(form, before, after);
        if (check.ok()) {
            applyAdvancedSettings(store, before, after, settings, colors);
        }
        return check;
    }
    std::string stored(std::string_view name, std::string_view subkey = "CHART") {
        const std::string* text = store.find(subkey, name);
        return text != nullptr ? *text : "(absent)";
    }

    MemoryValueStore store;
    ChartSettings settings;
    ColorTable colors;
    AdvancedSettings before;
    AdvancedForm form;
};

TEST_F(AdvancedSettingsTest, EachFieldRefusesWhatIsOutOfRangeWithItsMessage) {
    struct Case {
        std::function<void(AdvancedForm&)> edit;
        int control;
        std::string_view message;
    };
    const Case cases[] = {
        {[](AdvancedForm& f) { f.stretchBars = ""; }, kStretchBarsEdit, kNoInputMessage},
        {[](AdvancedForm& f) { f.stretchBars = "9"; }, kStretchBarsEdit, kStretchBarsMessage},
        {[](AdvancedForm& f) { f.stretchBars = "1001"; }, kStretchBarsEdit, kStretchBarsMessage},
        {[](AdvancedForm& f) { f.stretchBars = "12a"; }, kStretchBarsEdit, kStretchBarsMessage},
        {[](AdvancedForm& f) { f.stepSeconds = "0"; }, kStepSecondsEdit, kStepMessage},
        {[](AdvancedForm& f) { f.stepSeconds = "60.1"; }, kStepSecondsEdit, kStepMessage},
        {[](AdvancedForm& f) { f.stepSeconds = "1.25"; }, kStepSecondsEdit, kStepMessage},
        {[](AdvancedForm& f) { f.stepSeconds = "."; }, kStepSecondsEdit, kStepMessage},
        {[](AdvancedForm& f) { f.presets[0] = "0"; }, kFirstPresetEdit, kPresetMessage},
        {[](AdvancedForm& f) { f.presets[5] = "50.1"; }, kFirstPresetEdit + 5, kPresetMessage},
        {[](AdvancedForm& f) { f.presets[3] = "99999999999"; }, kFirstPresetEdit + 3,
         kPresetMessage},
        {[](AdvancedForm& f) { f.printScale = "0"; }, kPrintScaleEdit, kPrintScaleMessage},
        {[](AdvancedForm& f) { f.printScale = "1001"; }, kPrintScaleEdit, kPrintScaleMessage},
        {[](AdvancedForm& f) { f.editor = std::string(200, 'e'); }, kEditorEdit, kEditorMessage},
        {[](AdvancedForm& f) { f.editor = "vi\nrm"; }, kEditorEdit, kEditorMessage},
    };
    for (const Case& c : cases) {
        open();
        c.edit(form);
        const AdvancedFormCheck check = ok();
        EXPECT_EQ(check.control, c.control) << c.message;
        EXPECT_EQ(check.message, c.message) << check.control;
        EXPECT_TRUE(store.values.empty()) << "a refused form writes nothing";
    }
    // The edges themselves are accepted, blanks around a number too.
    open();
    form.stretchBars = "10";
    form.stepSeconds = " 60.0 ";
    form.presets = {"0.1", "50", ".5", "7.", "", ""};
    form.printScale = "1000";
    ASSERT_TRUE(ok().ok());
    EXPECT_EQ(settings.stretchBarCount, 10);
    EXPECT_EQ(settings.autoStepInterval, 600);
    EXPECT_EQ(settings.pitchTable, (std::array<int32_t, 6>{1, 500, 5, 70, 0, 0}));
    EXPECT_EQ(settings.printScale, 1000);
}

TEST_F(AdvancedSettingsTest, EveryValueComesBackAtTheNextStart) {
    open();
    form.pitchMode = 0;
    form.stretchBars = "250";
    form.stepSeconds = "1.5";
    form.presets = {"2.5", "", "8", "", "12.3", "50"};
    form.pitchIndex = 4;
    form.fillFallingBodies = 1;
    form.fillRisingBodies = 1;
    form.printScale = "150";
    form.editor = "mousepad --new";
    for (size_t k = 0; k < form.colors.size(); ++k) {
        form.colors[k] = rgbColor(static_cast<uint8_t>(k), 200, static_cast<uint8_t>(255 - k));
    }
    AdvancedSettings chosen;
    ASSERT_TRUE(readAdvancedForm(form, before, chosen).ok());
    ASSERT_TRUE(ok().ok());

    open();  // the next start reads what was written
    EXPECT_EQ(before, chosen);
    EXPECT_EQ(advancedFormOf(before).presets[4], "12.3");
    EXPECT_EQ(colors.colors[59], rgbColor(14, 200, 241));
    // The colours of those rows the viewer does not draw with keep their defaults.
    ColorTable defaults;
    resetColorTable(defaults);
    EXPECT_EQ(colors.colors[17], defaults.colors[17]);
    EXPECT_EQ(colors.colors[70], defaults.colors[70]);
    // New values carry their known fields and 0 elsewhere.
    EXPECT_EQ(stored("Mode_1"), "0,0,0,0,0,0,1,0,0,0,250,0,15,25,0,80,0,123,500,4");
    EXPECT_EQ(stored("Mode_2"), "0,0,0,0,0,0,0,0,150,0,0,0,0,0,0,0,0,0,0,0");
    EXPECT_EQ(stored("MODE"), "0,0,1,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0");
    EXPECT_EQ(stored("EDITOR", "MENU"), "mousepad --new");
    // The overlaid sell leg's colours have a value of their own.
    EXPECT_EQ(stored("COLOR_OV"), "15779855,15714320");
}

TEST_F(AdvancedSettingsTest, OnlyTheEditedFieldsChangeInTheStoredTexts) {
    const std::string mode1 = "7,8,9,\"x\", 11,1,0,12,13,14,150,16,40,20,25,30,0,0,0,1";
    const std::string mode2 = " 1,2,3,4,5,6,7,8,100,10,11,12";
    const std::string row5 = "12632256,1,x,3, 4,5,6,7,8,255";
    store.set("CHART", "Mode_1", mode1);
    store.set("CHART", "Mode_2", mode2);
    store.set("CHART", "COLOR_5", row5);
    store.set("CHART", "MODE", "1,1,x,1");
    store.set("CHART", "COLOR_OV", "255, 65280,77");

    open();
    form.colors[16] = rgbColor(0, 0, 1);  // index 85: COLOR_OV field 1
    form.presets[3] = "3.5";              // field 16
    form.colors[14] = rgbColor(1, 0, 0);  // index 59: COLOR_5 field 9
    form.fillRisingBodies = 1;            // MODE field 2
    ASSERT_TRUE(ok().ok());
    EXPECT_EQ(stored("Mode_1"), "7,8,9,\"x\", 11,1,0,12,13,14,150,16,40,20,25,30,35,0,0,1");
    EXPECT_EQ(stored("Mode_2"), mode2);
    EXPECT_EQ(stored("COLOR_5"), "12632256,1,x,3, 4,5,6,7,8,1");
    EXPECT_EQ(stored("MODE"), "1,1,1,1");
    EXPECT_EQ(stored("COLOR_OV"), "255,65536,77");
    EXPECT_EQ(stored("COLOR_1"), "(absent)");
    EXPECT_EQ(stored("EDITOR", "MENU"), "(absent)");

    // Fields read before the edited one must read as numbers, or it would never be reached.
    store.set("CHART", "MODE", "x,1,0,5");
    open();
    form.fillRisingBodies = 1;
    ASSERT_TRUE(ok().ok());
    EXPECT_EQ(stored("MODE"), "0,1,1,5");
    open();
    EXPECT_EQ(settings.fillRisingBodies, 1);

    // A short value grows to the edited field.
    store.set("CHART", "Mode_2", "5");
    open();
    form.printScale = "90";
    ASSERT_TRUE(ok().ok());
    EXPECT_EQ(stored("Mode_2"), "5,0,0,0,0,0,0,0,90");

    // Beyond what the readers keep (199 characters, twenty fields): what nobody reads goes.
    store.set("CHART", "Mode_2",
              "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20," + std::string(190, '9'));
    open();
    form.printScale = "90";
    ASSERT_TRUE(ok().ok());
    EXPECT_EQ(stored("Mode_2"), "1,2,3,4,5,6,7,8,90,10,11,12,13,14,15,16,17,18,19,20");
}

TEST_F(AdvancedSettingsTest, AnUntouchedFormWritesNothingAndKeepsStoredOddities) {
    // Values another program stored outside the dialog's ranges, and marks other than 0 and 1.
    store.set("CHART", "Mode_1", "0,0,0,0,0,2,3,0,0,0,5000,0,900,0,0,0,0,0,0,0");
    store.set("CHART", "Mode_2", "0,0,0,0,0,0,0,0,0");
    open();
    const MemoryValueStore untouched = store;
    const ChartSettings kept = settings;
    EXPECT_TRUE(ok().ok());
    EXPECT_EQ(store.values, untouched.values);
    EXPECT_EQ(settings.pitch, kept.pitch);
    EXPECT_EQ(settings.pitchMode, 2);
    EXPECT_EQ(settings.fillFallingBodies, 3);
    EXPECT_EQ(settings.printScale, 0);
}

TEST_F(AdvancedSettingsTest, WhatTheDialogShowedIsWhatTheNextStartReads) {
    store.set("CHART", "Mode_1", "0,0,0,0,0,1,0,0,0,0,120,0,40,30,60,0,0,0,0,0");
    open();
    settings.pitchIndex = 1;  // the 0 key moved on to the second preset during the session
    before = currentAdvancedSettings(settings, colors, store);
    form = advancedFormOf(before);
    ASSERT_TRUE(ok().ok());
    EXPECT_EQ(stored("Mode_1"), "0,0,0,0,0,1,0,0,0,0,120,0,40,30,60,0,0,0,0,1");
}

TEST_F(AdvancedSettingsTest, ChoosingThePresetInUseSetsThePitch) {
    open();
    settings.pitch = 7.0f;  // a temporary pitch typed earlier
    form.presets[2] = "2.5";
    form.pitchIndex = 2;
    ASSERT_TRUE(ok().ok());
    EXPECT_FLOAT_EQ(settings.pitch, 2.5f);
    open();
    form.presets[2] = "4";  // a new value for the preset in use
    ASSERT_TRUE(ok().ok());
    EXPECT_FLOAT_EQ(settings.pitch, 4.0f);

    open();
    settings.pitch = 7.0f;
    form.pitchMode = 0;  // stretch mode: the layout computes the pitch
    ASSERT_TRUE(ok().ok());
    EXPECT_FLOAT_EQ(settings.pitch, 7.0f);
    EXPECT_EQ(settings.pitchMode, 0);
}

}  // namespace
}  // namespace zepa
