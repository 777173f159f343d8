#include "app/window/input_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "app/app_context.h"
#include "app/window/qt_values.h"
#include "base/codepage.h"

namespace zepa {

namespace {

using namespace input_dialog;

// "ＭＳ ゴシック" at 11 points, as the settings dialog.
constexpr int kFontPixels = 15;
constexpr int kWidthUnits = 125;
constexpr int kHeightUnits = 59;

}  // namespace

InputDialog::InputDialog(QWidget* owner, ChartSettings& settings, int mode)
    : TemplateDialog(owner, kFontPixels, kWidthUnits, kHeightUnits), settings_(settings) {
    state_.mode = mode;
    setFixedSize(size());
    const InputDialogTexts texts = inputDialogTexts(mode, settings);
    setWindowTitle(fromUtf8(texts.title));

    auto* prompt =
        place(new QLabel(fromUtf8(texts.prompt), this), kPromptLabel, DialogRect{7, 6, 110, 10});
    prompt->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto* edit =
        place(new QLineEdit(fromUtf8(texts.preset), this), kValueEdit, DialogRect{23, 19, 80, 12});
    edit->setAlignment(Qt::AlignRight);
    edit->setMaxLength(static_cast<int>(kInputTextLimit));
    auto* execute = place(new QPushButton(fromUtf8(kExecuteText), this), kExecuteButton,
                          DialogRect{22, 38, 38, 12});
    execute->setDefault(true);
    auto* cancel = place(new QPushButton(fromUtf8(kCancelText), this), kCancelButton,
                         DialogRect{65, 38, 38, 12});
    connect(execute, &QPushButton::clicked, this, [this] { press(kExecuteButton); });
    connect(cancel, &QPushButton::clicked, this, [this] { press(kCancelButton); });
    edit->setFocus();
}

void InputDialog::press(int id) {
    if (ended_) {
        return;
    }
    const auto* edit = static_cast<QLineEdit*>(control(kValueEdit));
    const std::string typed = cp932FromUtf8(edit->text().toStdString());
    const InputDialogStep step = inputDialogCommand(state_, settings_, id, typed);
    if (!step.message.empty()) {
        if (showMessage) {
            showMessage(step.message, kInputErrorCaption);
        } else {
            QMessageBox box(QMessageBox::Warning, fromUtf8(kInputErrorCaption),
                            fromUtf8(step.message), QMessageBox::Ok, this);
            box.setTextFormat(Qt::PlainText);
            box.exec();
        }
    }
    if (step.ended) {
        ended_ = true;
        done(1);
    }
}

void InputDialog::reject() {
    press(kCancelButton);
}

int runInputDialog(QWidget* owner, AppContext& a, int mode, std::string* inputText) {
    InputDialog dialog(owner, a.settings, mode);
    dialog.exec();
    // A dialog closed some other way (the owner going away) counts as cancelled.
    const int32_t closedBy =
        dialog.state().keyCommand == kExecuteButton ? kExecuteButton : kCancelButton;
    a.view.keyCommand = closedBy;
    if (inputText != nullptr) {
        *inputText = closedBy == kExecuteButton ? dialog.state().inputText : std::string();
    }
    return closedBy;
}

}  // namespace zepa
