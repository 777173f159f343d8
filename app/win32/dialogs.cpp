#include "dialogs.h"

#include <array>

#include "app/frame_handlers.h"
#include "color_chooser.h"
#include "resource_ids.h"
#include "settings/input_dialog_logic.h"
#include "settings/settings_dialog_logic.h"
#include "wide_text.h"

namespace zepa::win32 {

void centre(HWND dialog) {
    RECT area{0, 0, 1024, 768};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT r{};
    GetWindowRect(dialog, &r);
    const DialogPoint at = centerDialog(
        DialogRect{area.left, area.top, area.right - area.left, area.bottom - area.top},
        r.right - r.left, r.bottom - r.top);
    SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

namespace {

// The settings dialog's controls, as the logic sees them.
class SettingsControls final : public SettingsDialogControls {
  public:
    SettingsControls(HWND dialog, AppContext& a, Shell& shell)
        : dialog_(dialog), a_(a), shell_(shell) {
        for (int k = 0; k < settings_dialog::kSwatchCount; ++k) {
            brushes_[static_cast<size_t>(k)] = nullptr;
        }
    }
    ~SettingsControls() override { dropBrushes(); }

    void setCheck(int id, int32_t value) override {
        // A stored value other than 0 and 1 is neither on nor off: the third state.
        CheckDlgButton(dialog_, id,
                       value == 0   ? BST_UNCHECKED
                       : value == 1 ? BST_CHECKED
                                    : BST_INDETERMINATE);
    }
    void setEditText(int id, std::string_view text) override {
        SetDlgItemTextW(dialog_, id, wide(text).c_str());
    }
    std::string editText(int id) override { return windowText(GetDlgItem(dialog_, id)); }
    bool askYesNo(std::string_view text, std::string_view caption) override {
        return MessageBoxW(dialog_, wide(text).c_str(), wide(caption).c_str(),
                           MB_YESNO | MB_ICONINFORMATION) == IDYES;
    }
    void warn(std::string_view text, std::string_view caption) override {
        MessageBoxW(dialog_, wide(text).c_str(), wide(caption).c_str(), MB_OK | MB_ICONEXCLAMATION);
    }
    std::optional<ColorRef> chooseColor(ColorRef initial,
                                        const std::array<ColorRef, 16>& customColors) override {
        return chooseTableColor(dialog_, initial, customColors);
    }
    void repaintSwatches() override {
        dropBrushes();
        for (int k = 0; k < settings_dialog::kSwatchCount; ++k) {
            InvalidateRect(GetDlgItem(dialog_, settings_dialog::kFirstSwatch + k), nullptr, TRUE);
        }
    }
    void invalidateFrame() override { shell_.invalidateWindow(); }
    bool rebuildSeries() override { return rebuildAfterSettings(a_, shell_); }
    void endDialog(int result) override {
        ended_ = true;
        EndDialog(dialog_, result);
    }

    // The brush a swatch is painted with: its spread colour.
    HBRUSH swatchBrush(int id) {
        const int k = id - settings_dialog::kFirstSwatch;
        if (k < 0 || k >= settings_dialog::kSwatchCount) {
            return nullptr;
        }
        HBRUSH& brush = brushes_[static_cast<size_t>(k)];
        if (brush == nullptr) {
            brush = CreateSolidBrush(a_.colors.colors[static_cast<size_t>(kSpreadColorBase + k)] &
                                     0xFFFFFFu);
        }
        return brush;
    }
    void press(int id) {
        if (!ended_) {
            settingsDialogCommand(a_.settings, a_.colors, *this, id);
        }
    }

  private:
    void dropBrushes() {
        for (HBRUSH& b : brushes_) {
            if (b != nullptr) {
                DeleteObject(b);
                b = nullptr;
            }
        }
    }

    HWND dialog_;
    AppContext& a_;
    Shell& shell_;
    std::array<HBRUSH, settings_dialog::kSwatchCount> brushes_;
    bool ended_ = false;
};

struct SettingsStart {
    AppContext* a;
    Shell* shell;
};

INT_PTR CALLBACK settingsProcedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
    auto* controls = reinterpret_cast<SettingsControls*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            const auto* start = reinterpret_cast<SettingsStart*>(l);
            controls = new SettingsControls(dialog, *start->a, *start->shell);
            SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(controls));
            fillSettingsDialog(start->a->settings, *controls);
            SendDlgItemMessageW(dialog, settings_dialog::kBuyPeriodEdit, EM_LIMITTEXT, 200, 0);
            SendDlgItemMessageW(dialog, settings_dialog::kSellPeriodEdit, EM_LIMITTEXT, 200, 0);
            SendDlgItemMessageW(dialog, settings_dialog::kRatioPeriodEdit, EM_LIMITTEXT, 200, 0);
            centre(dialog);
            SetFocus(GetDlgItem(dialog, settings_dialog::kCloseButton));
            return FALSE;
        }
        case WM_CTLCOLORSTATIC:
            if (controls != nullptr) {
                const int id = GetDlgCtrlID(reinterpret_cast<HWND>(l));
                if (HBRUSH brush = controls->swatchBrush(id)) {
                    return reinterpret_cast<INT_PTR>(brush);
                }
            }
            return FALSE;
        case WM_COMMAND:
            if (controls != nullptr) {
                const int id = LOWORD(w);
                if (id == IDCANCEL) {
                    controls->press(settings_dialog::kCloseButton);  // Esc and the close box
                } else if (HIWORD(w) == BN_CLICKED && id != settings_dialog::kBuyPeriodEdit &&
                           id != settings_dialog::kSellPeriodEdit &&
                           id != settings_dialog::kRatioPeriodEdit) {
                    controls->press(id);
                }
            }
            return TRUE;
        case WM_DESTROY:
            delete controls;
            SetWindowLongPtrW(dialog, DWLP_USER, 0);
            return FALSE;
        default:
            return FALSE;
    }
}

struct InputStart {
    AppContext* a;
    InputDialogState state;
};

INT_PTR CALLBACK inputProcedure(HWND dialog, UINT message, WPARAM w, LPARAM) {
    auto* start = reinterpret_cast<InputStart*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            return FALSE;
        case WM_COMMAND: {
            if (start == nullptr) {
                return TRUE;
            }
            int id = LOWORD(w);
            if (id == IDCANCEL) {
                id = input_dialog::kCancelButton;
            }
            if (id != input_dialog::kExecuteButton && id != input_dialog::kCancelButton) {
                return TRUE;
            }
            const std::string typed =
                cp932FromUtf8(windowText(GetDlgItem(dialog, input_dialog::kValueEdit)));
            const InputDialogStep step =
                inputDialogCommand(start->state, start->a->settings, id, typed);
            if (!step.message.empty()) {
                MessageBoxW(dialog, wide(step.message).c_str(),
                            wide(input_dialog::kInputErrorCaption).c_str(),
                            MB_OK | MB_ICONEXCLAMATION);
            }
            if (step.ended) {
                EndDialog(dialog, 1);
            }
            return TRUE;
        }
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK aboutProcedure(HWND dialog, UINT message, WPARAM w, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            centre(dialog);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(w) == about_dialog::kOkButton || LOWORD(w) == IDCANCEL) {
                EndDialog(dialog, 1);
            }
            return TRUE;
        default:
            return FALSE;
    }
}

// The input dialog's texts are set before its procedure sees a command.
INT_PTR CALLBACK inputStartProcedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_INITDIALOG) {
        auto* start = reinterpret_cast<InputStart*>(l);
        SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(start));
        const InputDialogTexts texts = inputDialogTexts(start->state.mode, start->a->settings);
        SetWindowTextW(dialog, wide(texts.title).c_str());
        SetDlgItemTextW(dialog, input_dialog::kPromptLabel, wide(texts.prompt).c_str());
        SetDlgItemTextW(dialog, input_dialog::kValueEdit, wide(texts.preset).c_str());
        centre(dialog);
        return TRUE;
    }
    return inputProcedure(dialog, message, w, l);
}

}  // namespace

void runSettingsDialog(HWND owner, HINSTANCE instance, AppContext& a, Shell& shell) {
    SettingsStart start{&a, &shell};
    DialogBoxParamW(instance, MAKEINTRESOURCEW(ZEPA_SETTINGS_DIALOG), owner, settingsProcedure,
                    reinterpret_cast<LPARAM>(&start));
}

int runInputDialog(HWND owner, HINSTANCE instance, AppContext& a, int mode,
                   std::string* inputText) {
    InputStart start{&a, InputDialogState{}};
    start.state.mode = mode;
    DialogBoxParamW(instance, MAKEINTRESOURCEW(ZEPA_INPUT_DIALOG), owner, inputStartProcedure,
                    reinterpret_cast<LPARAM>(&start));
    // A dialog closed some other way counts as cancelled.
    const int32_t closedBy = start.state.keyCommand == input_dialog::kExecuteButton
                                 ? input_dialog::kExecuteButton
                                 : input_dialog::kCancelButton;
    a.view.keyCommand = closedBy;
    if (inputText != nullptr) {
        *inputText =
            closedBy == input_dialog::kExecuteButton ? start.state.inputText : std::string();
    }
    return closedBy;
}

void runAboutDialog(HWND owner, HINSTANCE instance) {
    DialogBoxParamW(instance, MAKEINTRESOURCEW(ZEPA_ABOUT_DIALOG), owner, aboutProcedure, 0);
}

}  // namespace zepa::win32
