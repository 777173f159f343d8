#include "position_dialogs.h"

#include "dialogs.h"
#include "resource_ids.h"
#include "wide_text.h"

namespace zepa::win32 {
namespace {

using namespace position_dialog;

// The resource script writes these ids as numbers.
static_assert(kBuyCode == 501 && kSellFound == 512 && kAmounts == 513 && kOk == 520 &&
              kCancel == 521);
static_assert(kCloseSummary == 601 && kProfit == 606 && kCloseOk == 620 && kCloseCancel == 621);
static_assert(command::kAddPosition == 113 && command::kRemovePosition == 116 &&
              command::kClosedTrades == 124);

struct DialogStart {
    AppContext* a = nullptr;
    int position = -1;
    const PositionForm* filled = nullptr;  // the add dialog's first fields, when not empty
    int written = -1;
    std::string autoBuyName;  // names filled in from the price files
    std::string autoSellName;
    std::string lastDate;    // the close dialog's exit date whose closes are shown
    CloseForm filledCloses;  // the closes the close dialog put in the price fields
};

DialogStart* startOf(HWND dialog) {
    return reinterpret_cast<DialogStart*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

std::string field(HWND dialog, int id) {
    return windowText(GetDlgItem(dialog, id));
}

void setField(HWND dialog, int id, const std::string& utf8) {
    SetDlgItemTextW(dialog, id, wide(utf8).c_str());
}

void warn(HWND dialog, const std::string& message, const char* caption) {
    MessageBoxW(dialog, wide(message).c_str(), wide(caption).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

PositionForm positionForm(HWND dialog) {
    PositionForm f;
    f.buyCode = field(dialog, kBuyCode);
    f.sellCode = field(dialog, kSellCode);
    f.buyName = field(dialog, kBuyName);
    f.sellName = field(dialog, kSellName);
    f.buyDate = field(dialog, kBuyDate);
    f.sellDate = field(dialog, kSellDate);
    f.buyQuantity = field(dialog, kBuyQuantity);
    f.sellQuantity = field(dialog, kSellQuantity);
    f.byAmount = IsDlgButtonChecked(dialog, kByAmount) == BST_CHECKED;
    f.amount = field(dialog, kAmount);
    return f;
}

void refreshPosition(HWND dialog, DialogStart& s) {
    const PositionForm f = positionForm(dialog);
    const PositionFormPreview p = previewPositionForm(*s.a, f);
    setField(dialog, kBuyFound, p.buyFound);
    setField(dialog, kSellFound, p.sellFound);
    setField(dialog, kAmounts, p.amounts);
    // A name the trader typed stays; one filled in follows the code.
    const auto fillName = [&](int id, const std::string& found, std::string& filled) {
        const std::string now = field(dialog, id);
        if (!found.empty() && (now.empty() || now == filled)) {
            setField(dialog, id, found);
            filled = found;
        }
    };
    fillName(kBuyName, p.buyName, s.autoBuyName);
    fillName(kSellName, p.sellName, s.autoSellName);
    EnableWindow(GetDlgItem(dialog, kAmount), f.byAmount ? TRUE : FALSE);
    SendDlgItemMessageW(dialog, kBuyQuantity, EM_SETREADONLY, f.byAmount ? TRUE : FALSE, 0);
    SendDlgItemMessageW(dialog, kSellQuantity, EM_SETREADONLY, f.byAmount ? TRUE : FALSE, 0);
    if (f.byAmount) {
        setField(dialog, kBuyQuantity, p.buyQuantity);
        setField(dialog, kSellQuantity, p.sellQuantity);
    }
}

INT_PTR CALLBACK positionProcedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
    DialogStart* s = startOf(dialog);
    switch (message) {
        case WM_INITDIALOG: {
            s = reinterpret_cast<DialogStart*>(l);
            SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(s));
            SetWindowTextW(dialog, wide(s->position < 0 ? kAddTitle : kChangeTitle).c_str());
            SetDlgItemTextW(dialog, kByAmount, wide(kByAmountText).c_str());
            const PositionForm f =
                s->filled != nullptr ? *s->filled : positionFormFor(*s->a, s->position);
            setField(dialog, kBuyCode, f.buyCode);
            setField(dialog, kSellCode, f.sellCode);
            setField(dialog, kBuyName, f.buyName);
            setField(dialog, kSellName, f.sellName);
            setField(dialog, kBuyDate, f.buyDate);
            setField(dialog, kSellDate, f.sellDate);
            setField(dialog, kBuyQuantity, f.buyQuantity);
            setField(dialog, kSellQuantity, f.sellQuantity);
            s->autoBuyName = f.buyName;
            s->autoSellName = f.sellName;
            refreshPosition(dialog, *s);
            centre(dialog);
            return TRUE;
        }
        case WM_COMMAND: {
            if (s == nullptr) {
                return TRUE;
            }
            const int id = LOWORD(w);
            const int code = HIWORD(w);
            if (id == IDCANCEL || id == kCancel) {
                EndDialog(dialog, 0);
            } else if (id == kOk || id == IDOK) {
                refreshPosition(dialog, *s);
                const FormWrite written =
                    writePositionForm(*s->a, s->position, positionForm(dialog));
                if (!written.ok) {
                    warn(dialog, written.message, s->position < 0 ? kAddTitle : kChangeTitle);
                } else {
                    s->written = written.position;
                    EndDialog(dialog, 1);
                }
            } else if ((code == EN_KILLFOCUS &&
                        (id == kBuyCode || id == kSellCode || id == kBuyDate || id == kSellDate ||
                         id == kBuyQuantity || id == kSellQuantity || id == kAmount)) ||
                       (code == BN_CLICKED && id == kByAmount)) {
                refreshPosition(dialog, *s);
            }
            return TRUE;
        }
        default:
            return FALSE;
    }
}

CloseForm closeForm(HWND dialog) {
    return CloseForm{field(dialog, kExitDate), field(dialog, kBuyExitPrice),
                     field(dialog, kSellExitPrice), field(dialog, kNote)};
}

void refreshClose(HWND dialog, DialogStart& s) {
    CloseForm f = closeForm(dialog);
    // Only a new date brings its closes: prices typed for the same date stay.
    if (f.exitDate != s.lastDate) {
        s.lastDate = f.exitDate;
        refillClosePrices(*s.a, s.position, f, s.filledCloses);
        setField(dialog, kBuyExitPrice, f.buyPrice);
        setField(dialog, kSellExitPrice, f.sellPrice);
    }
    setField(dialog, kProfit, previewCloseForm(*s.a, s.position, f).text);
}

INT_PTR CALLBACK closeProcedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
    DialogStart* s = startOf(dialog);
    switch (message) {
        case WM_INITDIALOG: {
            s = reinterpret_cast<DialogStart*>(l);
            SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(s));
            SetWindowTextW(dialog, wide(kCloseTitle).c_str());
            const CloseForm f = closeFormFor(*s->a, s->position);
            setField(dialog, kCloseSummary, closeSummaryText(*s->a, s->position));
            setField(dialog, kExitDate, f.exitDate);
            setField(dialog, kBuyExitPrice, f.buyPrice);
            setField(dialog, kSellExitPrice, f.sellPrice);
            s->lastDate = f.exitDate;
            s->filledCloses = f;
            refreshClose(dialog, *s);
            centre(dialog);
            return TRUE;
        }
        case WM_COMMAND: {
            if (s == nullptr) {
                return TRUE;
            }
            const int id = LOWORD(w);
            if (id == IDCANCEL || id == kCloseCancel) {
                EndDialog(dialog, 0);
            } else if (id == kCloseOk || id == IDOK) {
                const FormWrite written = writeCloseForm(*s->a, s->position, closeForm(dialog));
                if (!written.ok) {
                    warn(dialog, written.message, kCloseTitle);
                } else {
                    s->written = written.position;
                    EndDialog(dialog, 1);
                }
            } else if (HIWORD(w) == EN_KILLFOCUS &&
                       (id == kExitDate || id == kBuyExitPrice || id == kSellExitPrice)) {
                refreshClose(dialog, *s);
            }
            return TRUE;
        }
        default:
            return FALSE;
    }
}

}  // namespace

int runPositionDialog(HWND owner, HINSTANCE instance, AppContext& a, PositionDialogKind kind,
                      const PositionForm* filled) {
    DialogStart start;
    start.a = &a;
    start.filled = kind == PositionDialogKind::Add ? filled : nullptr;
    start.position = kind == PositionDialogKind::Add ? -1 : a.view.currentPosition;
    if (kind == PositionDialogKind::Close) {
        DialogBoxParamW(instance, MAKEINTRESOURCEW(ZEPA_CLOSE_DIALOG), owner, closeProcedure,
                        reinterpret_cast<LPARAM>(&start));
    } else {
        DialogBoxParamW(instance, MAKEINTRESOURCEW(ZEPA_POSITION_DIALOG), owner, positionProcedure,
                        reinterpret_cast<LPARAM>(&start));
    }
    return start.written;
}

}  // namespace zepa::win32
