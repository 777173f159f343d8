// The strip across the top of the client area: the toolbar buttons, their tooltips and the
// position selector. It stays as wide as the screen and 30 pixels high whatever the window
// does, and it never takes the keyboard focus: keys belong to the chart.
#pragma once

#include <QComboBox>
#include <QToolButton>
#include <QWidget>

#include <functional>
#include <map>

namespace zepa {

// Looks pressed while its mode is on; a click alone never changes that, only the program does.
class ModeButton final : public QToolButton {
    Q_OBJECT
  public:
    using QToolButton::QToolButton;

  protected:
    void nextCheckState() override {}
};

class ToolbarStrip final : public QWidget {
    Q_OBJECT
  public:
    // commandId: a button was clicked. selection: the user picked a selector item.
    // selectorPressed: the selector was clicked, which takes the focus from the chart.
    struct Callbacks {
        std::function<void(int commandId)> button;
        std::function<void(int selection)> selection;
        std::function<void()> selectorPressed;
    };

    ToolbarStrip(QWidget* parent, const QFont& selectorFont, Callbacks callbacks);

    // The button of a command id, or nullptr.
    QToolButton* button(int commandId) const;
    QComboBox* selector() const { return selector_; }

    // The selector's drop-down height follows its items' height.
    void fitSelectorList();

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Callbacks callbacks_;
    std::map<int, QToolButton*> buttons_;
    QComboBox* selector_ = nullptr;
};

}  // namespace zepa
