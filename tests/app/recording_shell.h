// A Shell that records what the viewer's logic asks of the window system, drawing included.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/shell.h"
#include "chart/view_state.h"
#include "tests/support/recording_surface.h"

namespace zepa::test {

struct RecordedMessage {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::Exclamation;
};

class RecordingShell : public Shell {
  public:
    void messageBox(std::string_view text, std::string_view caption, MessageIcon icon) override {
        messages.push_back({std::string(text), std::string(caption), icon});
    }
    void beep() override { ++beeps; }
    void setButtonPressed(int id, bool pressed) override { buttonPressed[id] = pressed; }
    void setButtonEnabled(int id, bool enabled) override { buttonEnabled[id] = enabled; }
    void setMenuItemEnabled(int id, bool enabled) override { menuEnabled[id] = enabled; }
    void setSelectorItems(const std::vector<std::string>& items) override { selectorItems = items; }
    void selectSelectorItem(int index) override { selected = index; }
    void startTimer(int id, int ms) override { timers[id] = ms; }
    void killTimer(int id) override { timers.erase(id); }
    void drawOnWindow(const std::function<void(DrawingSurface&)>& draw) override {
        ++draws;
        draw(surface);
    }
    void invalidateWindow() override { ++invalidations; }
    void setStatusText(std::string_view cp932) override { statusText = cp932; }
    void openDataWindow(int kind) override { opened.push_back("data " + std::to_string(kind)); }
    void runSettingsDialog() override { opened.push_back("settings"); }
    void runAdvancedSettingsDialog() override { opened.push_back("advanced settings"); }
    void runInputDialog(int mode) override {
        opened.push_back("input " + std::to_string(mode));
        if (view != nullptr) {
            view->keyCommand = inputDialogCloses;
        }
    }
    void runAboutDialog() override { opened.push_back("about"); }
    void outputChart(int kind) override { opened.push_back("output " + std::to_string(kind)); }
    bool startProcess(const std::string& commandLine) override {
        processes.push_back(commandLine);
        return processesStart;
    }
    bool openWithDesktop(const std::string& path) override {
        desktopOpened.push_back(path);
        return desktopOpens;
    }
    void showHelp(int context) override { opened.push_back("help " + std::to_string(context)); }
    void destroyWindow() override { ++destroyed; }
    void endAfterDataError(std::string_view text) override { fatal = text; }
    void openPairSearch() override { opened.push_back("pair search"); }
    void openOverviewWindow() override { opened.push_back("overview"); }
    void overviewChanged() override { ++overviewChanges; }
    void setSignalSummary(std::string_view utf8) override { signalSummary = utf8; }
    void scheduleOverview() override { ++overviewRequests; }

    std::vector<std::string> captions() const {
        std::vector<std::string> out;
        for (const RecordedMessage& m : messages) {
            out.push_back(m.caption);
        }
        return out;
    }

    ViewState* view = nullptr;    // where the input dialog leaves its closing button
    int inputDialogCloses = 220;  // OK

    std::vector<RecordedMessage> messages;
    int beeps = 0, selected = -1, draws = 0, invalidations = 0, destroyed = 0;
    std::map<int, bool> buttonPressed, buttonEnabled, menuEnabled;
    std::map<int, int> timers;  // running: id to period
    std::vector<std::string> selectorItems, opened, processes, desktopOpened;
    bool processesStart = true, desktopOpens = true;
    std::string statusText, fatal, signalSummary;
    int overviewChanges = 0, overviewRequests = 0;
    RecordingSurface surface;
};

}  // namespace zepa::test
