// The settings dialog "設定" and what all three of the program's small dialogs share: a dialog
// built from a template in dialog units, its controls kept by id, centred on the screen.
#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string_view>

#include "settings/chart_settings.h"
#include "settings/color_table.h"
#include "settings/settings_dialog_logic.h"

class QWidget;

namespace zepa {

struct AppContext;
class Shell;

// A dialog laid out like its template: the template's font, its size and every control's
// rectangle in dialog units, turned into pixels with the font's base units.
class TemplateDialog : public QDialog {
  public:
    TemplateDialog(QWidget* owner, int fontPixels, int widthUnits, int heightUnits);

    // The control with this id, or nullptr.
    QWidget* control(int id) const;
    // Pixels of a rectangle in this dialog's units.
    QRect pixels(const DialogRect& units) const;

  protected:
    // Places a control made with this dialog as parent and keeps it under its id (id < 0 for
    // the template's unnamed labels and frames).
    template <class W>
    W* place(W* widget, int id, const DialogRect& units) {
        widget->setGeometry(pixels(units));
        if (id >= 0) {
            controls_[id] = widget;
        }
        return widget;
    }
    void showEvent(QShowEvent* event) override;

  private:
    int baseWidth_ = 8;
    int baseHeight_ = 16;
    bool centred_ = false;
    std::map<int, QWidget*> controls_;
};

// The chart face ("ＭＳ ゴシック" and its stand-ins) at a pixel size.
QFont dialogFont(int pixelSize);

// The colour chooser on one spread colour: the sixteen custom colours are set on every call,
// so that colours a user defined earlier are not kept. Empty when the user cancelled.
std::optional<ColorRef> chooseSpreadColor(QWidget* owner, ColorRef initial,
                                          const std::array<ColorRef, 16>& customColors);

// What closing the dialog and changing a colour do to the program behind it. The two seams at
// the end stand in for the message box and the colour chooser; left empty, the real ones show.
struct SettingsDialogHooks {
    std::function<bool()> rebuildSeries;
    std::function<void()> invalidateFrame;
    std::function<bool(std::string_view text, std::string_view caption)> askYesNo;
    std::function<std::optional<ColorRef>(ColorRef initial)> chooseColor;
    std::function<void(std::string_view text, std::string_view caption)> warn;
};

class SettingsDialog final : public TemplateDialog, private SettingsDialogControls {
  public:
    SettingsDialog(QWidget* owner, ChartSettings& settings, ColorTable& colors,
                   SettingsDialogHooks hooks);

    // As if control `id` was clicked.
    void press(int id);

  protected:
    // Esc and the title bar's close box both act as "設定終了".
    void reject() override;

  private:
    void setCheck(int id, int32_t value) override;
    void setEditText(int id, std::string_view text) override;
    std::string editText(int id) override;
    bool askYesNo(std::string_view text, std::string_view caption) override;
    void warn(std::string_view text, std::string_view caption) override;
    std::optional<ColorRef> chooseColor(ColorRef initial,
                                        const std::array<ColorRef, 16>& customColors) override;
    void repaintSwatches() override;
    void invalidateFrame() override;
    bool rebuildSeries() override;
    void endDialog(int result) override;

    ChartSettings& settings_;
    ColorTable& colors_;
    SettingsDialogHooks hooks_;
    bool ended_ = false;
};

// Menu command 150: the settings dialog over the main window. Closing it reads the periods,
// rebuilds the series and, when that succeeded, redraws the chart.
void runSettingsDialog(QWidget* owner, AppContext& a, Shell& shell);

}  // namespace zepa
