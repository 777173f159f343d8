// The window system of a fuzzed viewer session: drawing goes to a null surface, a repaint
// request paints at once, the data windows format and paint every page, the dialogs are
// answered from the input, and nothing is ever started or shown.
#pragma once

#include <string>

#include "app/app_context.h"
#include "app/shell.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/null_surface.h"

namespace zepa::fuzz {

class SessionShell final : public Shell {
  public:
    SessionShell(AppContext& a, FuzzInput& in) : a_(a), in_(in) {}

    // The paint a window would do after start-up or an invalidate, at a size from the input.
    void paint();
    bool ended() const { return ended_; }
    // Paints that drew a chart rather than the empty window.
    int chartPaints() const { return chartPaints_; }

    void messageBox(std::string_view, std::string_view, MessageIcon) override {}
    void beep() override {}
    void setButtonPressed(int, bool) override {}
    void setButtonEnabled(int, bool) override {}
    void setMenuItemEnabled(int, bool) override {}
    void setSelectorItems(const std::vector<std::string>&) override {}
    void selectSelectorItem(int) override {}
    void startTimer(int, int) override {}
    void killTimer(int) override {}
    void drawOnWindow(const std::function<void(DrawingSurface&)>& draw) override { draw(surface_); }
    void invalidateWindow() override { paint(); }
    void setStatusText(std::string_view) override {}
    void openDataWindow(int kind) override;
    void runSettingsDialog() override;
    void runAdvancedSettingsDialog() override;
    void runInputDialog(int mode) override;
    void runAboutDialog() override {}
    void outputChart(int) override {}
    bool startProcess(const std::string&) override { return true; }
    bool openWithDesktop(const std::string&) override { return true; }
    void showHelp(int) override {}
    void destroyWindow() override { ended_ = true; }
    void endAfterDataError(std::string_view) override { ended_ = true; }

  private:
    AppContext& a_;
    FuzzInput& in_;
    NullSurface surface_;
    bool ended_ = false;
    int chartPaints_ = 0;
};

}  // namespace zepa::fuzz
