#include "advanced_dialog.h"

#include <commdlg.h>

#include <array>
#include <optional>

#include "color_chooser.h"
#include "dialogs.h"
#include "resource_ids.h"
#include "settings/advanced_dialog_logic.h"
#include "settings/settings_dialog_logic.h"
#include "wide_text.h"

namespace zepa::win32 {
namespace {

using namespace advanced_dialog;

// A path with a blank is quoted, so the command line keeps it as one word.
std::wstring commandWord(const std::wstring& path) {
    return path.find(L' ') != std::wstring::npos ? L'"' + path + L'"' : path;
}

class AdvancedDialog {
  public:
    AdvancedDialog(HWND dialog, ValueStore& store, ChartSettings& settings, ColorTable& colors)
        : dialog_(dialog),
          store_(store),
          settings_(settings),
          colors_(colors),
          before_(currentAdvancedSettings(settings, colors, store)),
          form_(advancedFormOf(before_)) {
        brushes_.fill(nullptr);
    }
    ~AdvancedDialog() { dropBrushes(); }
    AdvancedDialog(const AdvancedDialog&) = delete;
    AdvancedDialog& operator=(const AdvancedDialog&) = delete;

    void fill() {
        const auto setText = [this](int id, const std::string& text) {
            SetDlgItemTextW(dialog_, id, wide(text).c_str());
        };
        setText(kStretchBarsEdit, form_.stretchBars);
        setText(kStepSecondsEdit, form_.stepSeconds);
        for (int k = 0; k < kPitchPresetCount; ++k) {
            setText(kFirstPresetEdit + k, form_.presets[static_cast<size_t>(k)]);
        }
        setText(kPrintScaleEdit, form_.printScale);
        setText(kEditorEdit, form_.editor);
        for (int k = 0; k < kEditableColorCount; ++k) {
            setText(kFirstColorButton + k,
                    std::string(kEditableColors[static_cast<size_t>(k)].name));
        }
        showMarks();
    }

    void press(int id) {
        if (id == kFixedPitchRadio || id == kStretchRadio) {
            form_.pitchMode = id == kFixedPitchRadio ? 1 : 0;
        } else if (id >= kFirstPresetRadio && id < kFirstPresetRadio + kPitchPresetCount) {
            form_.pitchIndex = id - kFirstPresetRadio;
        } else if (id == kFillFallingCheck) {
            form_.fillFallingBodies = form_.fillFallingBodies == 0 ? 1 : 0;
        } else if (id == kFillRisingCheck) {
            form_.fillRisingBodies = form_.fillRisingBodies == 0 ? 1 : 0;
        } else if (id >= kFirstColorButton && id < kFirstColorButton + kEditableColorCount) {
            const int k = id - kFirstColorButton;
            ColorRef& color = form_.colors[static_cast<size_t>(k)];
            if (const std::optional<ColorRef> chosen =
                    chooseTableColor(dialog_, color, kSpreadCustomColors)) {
                color = *chosen & 0xFFFFFFu;
                showColors();
            }
        } else if (id == kResetColorsButton) {
            form_.colors = defaultEditableColors();
            showColors();
        } else if (id == kEditorBrowseButton) {
            chooseEditor();
        } else if (id == kOkButton) {
            accept();
            return;
        } else if (id == kCancelButton) {
            EndDialog(dialog_, 0);
            return;
        }
        showMarks();
    }

    // An emptied preset loses its 使用中 mark at once, a filled one may take it.
    void edited(int id) {
        if (id < kFirstPresetEdit || id >= kFirstPresetEdit + kPitchPresetCount) {
            return;
        }
        std::array<wchar_t, 64> text{};
        GetDlgItemTextW(dialog_, id, text.data(), static_cast<int>(text.size()));
        form_.presets[static_cast<size_t>(id - kFirstPresetEdit)] = utf8(text.data());
        showMarks();
    }

    // The brush a swatch is painted with: its colour as the form holds it.
    HBRUSH swatchBrush(int id) {
        const int k = id - ZEPA_ADV_FIRST_SWATCH;
        if (k < 0 || k >= kEditableColorCount) {
            return nullptr;
        }
        HBRUSH& brush = brushes_[static_cast<size_t>(k)];
        if (brush == nullptr) {
            brush = CreateSolidBrush(form_.colors[static_cast<size_t>(k)] & 0xFFFFFFu);
        }
        return brush;
    }

  private:
    // A stored mark other than 0 and 1 shows as the third state until the user decides.
    void showMarks() {
        const auto mark = [this](int id, bool on) {
            CheckDlgButton(dialog_, id, on ? BST_CHECKED : BST_UNCHECKED);
        };
        mark(kFixedPitchRadio, form_.pitchMode != 0);
        mark(kStretchRadio, form_.pitchMode == 0);
        for (int k = 0; k < kPitchPresetCount; ++k) {
            mark(kFirstPresetRadio + k, presetShownInUse(form_, k));
        }
        for (const auto& [id, value] : {std::pair{kFillFallingCheck, form_.fillFallingBodies},
                                        std::pair{kFillRisingCheck, form_.fillRisingBodies}}) {
            CheckDlgButton(dialog_, id,
                           value == 0   ? BST_UNCHECKED
                           : value == 1 ? BST_CHECKED
                                        : BST_INDETERMINATE);
        }
        // Rising bodies are only filled together with the falling ones.
        EnableWindow(GetDlgItem(dialog_, kFillRisingCheck), form_.fillFallingBodies == 1);
    }

    void showColors() {
        dropBrushes();
        for (int k = 0; k < kEditableColorCount; ++k) {
            InvalidateRect(GetDlgItem(dialog_, ZEPA_ADV_FIRST_SWATCH + k), nullptr, TRUE);
        }
    }

    void chooseEditor() {
        std::array<wchar_t, 32768> path{};
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = dialog_;
        ofn.lpstrFilter = L"プログラム (*.exe)\0*.exe\0すべてのファイル (*.*)\0*.*\0";
        ofn.lpstrFile = path.data();
        ofn.nMaxFile = static_cast<DWORD>(path.size());
        ofn.lpstrTitle = L"エディタを選ぶ";
        ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        if (GetOpenFileNameW(&ofn) && path[0] != L'\0') {
            SetDlgItemTextW(dialog_, kEditorEdit, commandWord(path.data()).c_str());
        }
    }

    void accept() {
        const auto text = [this](int id) { return windowText(GetDlgItem(dialog_, id)); };
        form_.stretchBars = text(kStretchBarsEdit);
        form_.stepSeconds = text(kStepSecondsEdit);
        for (int k = 0; k < kPitchPresetCount; ++k) {
            form_.presets[static_cast<size_t>(k)] = text(kFirstPresetEdit + k);
        }
        form_.printScale = text(kPrintScaleEdit);
        form_.editor = text(kEditorEdit);
        AdvancedSettings chosen;
        const AdvancedFormCheck check = readAdvancedForm(form_, before_, chosen);
        if (!check.ok()) {
            MessageBoxW(dialog_, wide(check.message).c_str(), wide(kInputErrorCaption).c_str(),
                        MB_OK | MB_ICONEXCLAMATION);
            if (HWND field = GetDlgItem(dialog_, check.control)) {
                SetFocus(field);
                SendMessageW(field, EM_SETSEL, 0, -1);
            }
            return;
        }
        applyAdvancedSettings(store_, before_, chosen, settings_, colors_);
        EndDialog(dialog_, 1);
    }

    void dropBrushes() {
        for (HBRUSH& b : brushes_) {
            if (b != nullptr) {
                DeleteObject(b);
                b = nullptr;
            }
        }
    }

    HWND dialog_;
    ValueStore& store_;
    ChartSettings& settings_;
    ColorTable& colors_;
    AdvancedSettings before_;
    AdvancedForm form_;
    std::array<HBRUSH, kEditableColorCount> brushes_{};
};

struct AdvancedStart {
    AppContext* a;
};

INT_PTR CALLBACK advancedProcedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<AdvancedDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            AppContext& a = *reinterpret_cast<AdvancedStart*>(l)->a;
            self = new AdvancedDialog(dialog, *a.store, a.settings, a.colors);
            SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
            self->fill();
            SendDlgItemMessageW(dialog, kEditorEdit, EM_LIMITTEXT, 1024, 0);
            centre(dialog);
            SetFocus(GetDlgItem(dialog, kOkButton));
            return FALSE;
        }
        case WM_CTLCOLORSTATIC:
            if (self != nullptr) {
                if (HBRUSH brush = self->swatchBrush(GetDlgCtrlID(reinterpret_cast<HWND>(l)))) {
                    return reinterpret_cast<INT_PTR>(brush);
                }
            }
            return FALSE;
        case WM_COMMAND:
            if (self != nullptr) {
                const int id = LOWORD(w);
                if (id == IDCANCEL) {
                    self->press(kCancelButton);  // Esc and the close box
                } else if (id == IDOK) {
                    self->press(kOkButton);  // Enter in an edit
                } else if (HIWORD(w) == BN_CLICKED) {
                    // The edits' notifications are never 0; ids without an action do nothing.
                    self->press(id);
                } else if (HIWORD(w) == EN_CHANGE) {
                    self->edited(id);
                }
            }
            return TRUE;
        case WM_DESTROY:
            delete self;
            SetWindowLongPtrW(dialog, DWLP_USER, 0);
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void runAdvancedSettingsDialog(HWND owner, HINSTANCE instance, AppContext& a, Shell& shell) {
    if (a.store == nullptr) {
        return;
    }
    AdvancedStart start{&a};
    if (DialogBoxParamW(instance, MAKEINTRESOURCEW(ZEPA_ADVANCED_DIALOG), owner, advancedProcedure,
                        reinterpret_cast<LPARAM>(&start)) == 1) {
        shell.invalidateWindow();
    }
}

}  // namespace zepa::win32
