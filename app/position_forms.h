// The position dialogs' behaviour as plain code: what the add, change and close dialogs show,
// what they work out as the trader types, and what they write. The Qt and Win32 dialogs only
// move texts between their controls and these forms. Texts are UTF-8.
#pragma once

#include <string>

#include "app/app_context.h"
#include "app/shell.h"

namespace zepa {

// Control ids of the dialogs, the same in both shells.
namespace position_dialog {
inline constexpr int kBuyCode = 501;
inline constexpr int kSellCode = 502;
inline constexpr int kBuyName = 503;
inline constexpr int kSellName = 504;
inline constexpr int kBuyDate = 505;
inline constexpr int kSellDate = 506;
inline constexpr int kBuyQuantity = 507;
inline constexpr int kSellQuantity = 508;
inline constexpr int kByAmount = 509;
inline constexpr int kAmount = 510;
inline constexpr int kBuyFound = 511;
inline constexpr int kSellFound = 512;
inline constexpr int kAmounts = 513;
inline constexpr int kOk = 520;
inline constexpr int kCancel = 521;

inline constexpr int kCloseSummary = 601;
inline constexpr int kExitDate = 602;
inline constexpr int kBuyExitPrice = 603;
inline constexpr int kSellExitPrice = 604;
inline constexpr int kNote = 605;
inline constexpr int kProfit = 606;
inline constexpr int kCloseOk = 620;
inline constexpr int kCloseCancel = 621;

inline constexpr const char* kAddTitle = "建玉の追加";
inline constexpr const char* kChangeTitle = "建玉の変更";
inline constexpr const char* kCloseTitle = "建玉の決済";
inline constexpr const char* kRemoveTitle = "建玉の削除";
inline constexpr const char* kByAmountText = "金額で";
inline constexpr const char* kOkText = "実行";
inline constexpr const char* kCancelText = "キャンセル";
}  // namespace position_dialog

// Which dialog Shell::runPositionDialog opens.
enum class PositionDialogKind { Add = 0, Change = 1, Close = 2 };

// The add and change dialog's fields as typed.
struct PositionForm {
    std::string buyCode;
    std::string sellCode;
    std::string buyName;
    std::string sellName;
    std::string buyDate;  // YYYY-MM-DD; empty for the newest date
    std::string sellDate;
    std::string buyQuantity;
    std::string sellQuantity;
    bool byAmount = false;
    std::string amount;
};

// Empty fields and the newest date for an added position; the position's own values for a
// change.
PositionForm positionFormFor(AppContext& a, int position);

// What the dialog shows as the trader types.
struct PositionFormPreview {
    std::string buyFound;  // "北辰建設  2025-03-14  終値 540", or why the leg is refused
    std::string sellFound;
    std::string buyName;  // the price files' short name of a leg that was found
    std::string sellName;
    std::string buyQuantity;  // with "金額で": the quantities the amount gives
    std::string sellQuantity;
    std::string amounts;  // legAmountsText at the entry closes, once both legs and quantities are
};
PositionFormPreview previewPositionForm(AppContext& a, const PositionForm& form);

struct FormWrite {
    bool ok = false;
    std::string message;  // why nothing was written
    // The position to show afterwards; after a close or a removal the same number, which
    // showPositionsAfterWrite keeps within the shorter table.
    int position = -1;
};

// Adds (position -1) or changes the position in the file, if the file still holds what the
// viewer read.
FormWrite writePositionForm(AppContext& a, int position, const PositionForm& form);

// The close dialog's fields.
struct CloseForm {
    std::string exitDate;  // YYYY-MM-DD
    std::string buyPrice;
    std::string sellPrice;
    std::string note;
};

// "金額　買い 936,000 円　売り 972,000 円　差 -36,000 円": each leg's quantity × close and the
// difference, bought less sold.
std::string legAmountsText(int64_t buyAmount, int64_t sellAmount);

// The newest date and its closes.
CloseForm closeFormFor(AppContext& a, int position);
// After the exit date changed: the new date's closes go into the price fields that are empty or
// still hold the closes the dialog filled in (`filled`, updated); prices the trader typed stay.
void refillClosePrices(AppContext& a, int position, CloseForm& form, CloseForm& filled);
// The position in one line, for the top of the close dialog.
std::string closeSummaryText(const AppContext& a, int position);

struct CloseFormPreview {
    bool ok = false;
    std::string text;      // the profit of each leg and the total, or why the close is refused
    std::string exitDate;  // the trading date the exit takes
    std::string buyClose;  // that date's closes
    std::string sellClose;
};
CloseFormPreview previewCloseForm(AppContext& a, int position, const CloseForm& form);

// Records the close and takes the line out of the file.
FormWrite writeCloseForm(AppContext& a, int position, const CloseForm& form);

// "建玉 3（T7203 / T6758）を削除します。よろしいですか？"
std::string removeQuestion(const AppContext& a, int position);
FormWrite removePosition(AppContext& a, int position);

// The menu entries "建玉の追加…", "建玉の変更…", "建玉の決済…", "建玉の削除", "決済済み".
void onPositionCommand(AppContext& a, Shell& shell, int commandId);

// After a write: the file read again, the selector filled and the given position shown.
void showPositionsAfterWrite(AppContext& a, Shell& shell, int position);

}  // namespace zepa
