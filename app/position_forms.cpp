#include "app/position_forms.h"

#include <algorithm>

#include "app/frame_handlers.h"
#include "app/pair_search_settings.h"
#include "base/codepage.h"
#include "base/grouped_number.h"
#include "positions/close_position.h"
#include "positions/position_line.h"
#include "positions/position_request.h"

namespace zepa {
namespace {

using namespace position_dialog;

std::string trimmed(std::string text) {
    static const std::string kFullWidthSpace = "\u3000";
    while (text.ends_with(' ') || text.ends_with(kFullWidthSpace)) {
        text.resize(text.size() - (text.back() == ' ' ? 1 : kFullWidthSpace.size()));
    }
    const size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

// An empty field is the newest date (0); false for a text that is no date.
bool formDate(const std::string& text, int32_t& date, std::string& message) {
    if (trimmed(text).empty()) {
        date = 0;
        return true;
    }
    if (!parseIsoDate(text, date)) {
        message = "日付「" + trimmed(text) + "」は 2025-04-01 の形で入力してください";
        return false;
    }
    return true;
}

bool draftFromForm(const PositionForm& form, PositionDraft& draft, std::string& message) {
    draft.buyCode = form.buyCode;
    draft.sellCode = form.sellCode;
    draft.buyName = form.buyName;
    draft.sellName = form.sellName;
    draft.buyQuantity = form.buyQuantity;
    draft.sellQuantity = form.sellQuantity;
    draft.byAmount = form.byAmount;
    draft.amount = form.amount;
    return formDate(form.buyDate, draft.buyDate, message) &&
           formDate(form.sellDate, draft.sellDate, message);
}

bool validPosition(const AppContext& a, int position) {
    return position >= 0 && position < a.positions.positionCount &&
           position < static_cast<int>(a.positions.records.size());
}

// The file as it is now, if it still holds the positions the viewer read.
bool snapshotAsRead(const AppContext& a, PositionFileSnapshot& snapshot, std::string& message) {
    if (!takePositionSnapshot(a.paths.positionFile, snapshot)) {
        message = positionFileMissingMessage(a.paths.positionFile);
        return false;
    }
    const std::vector<ScannedPosition> scanned = scanPositionBytes(snapshot.bytes);
    bool same = static_cast<int>(scanned.size()) == a.positions.positionCount;
    for (size_t k = 0; same && k < scanned.size(); ++k) {
        same = samePosition(scanned[k].record, a.positions.records[k]);
    }
    if (!same) {
        message = positionFileChangedMessage();
    }
    return same;
}

std::string legFound(AppContext& a, const std::string& code, const std::string& dateText,
                     std::string& name, int32_t& close) {
    close = 0;
    if (trimmed(code).empty()) {
        return {};
    }
    std::string message;
    StockRef ref;
    int32_t date = 0;
    if (!resolveStockCode(a.md, code, ref, message) || !formDate(dateText, date, message)) {
        return message;
    }
    const LegQuote quote = quoteLeg(a.md, a.corrections, ref, date);
    if (!quote.ok) {
        return quote.message;
    }
    name = shownShortName(quote.leg.shortName);
    close = quote.entryClose;
    return trimmed(utf8FromCp932(quote.stockName)) + "  " + isoDate(quote.entryDate) + "  終値 " +
           groupedNumber(quote.entryClose);
}

bool closeFormRequest(const CloseForm& form, CloseRequest& request, std::string& message) {
    if (!formDate(form.exitDate, request.exitDate, message)) {
        return false;
    }
    const auto price = [&](const std::string& text, std::optional<int64_t>& out) {
        const std::string t = trimmed(text);
        if (t.empty()) {
            out.reset();
            return true;
        }
        if (t.find_first_not_of("0123456789") != std::string::npos || t.size() > 12) {
            message = "決済値「" + t + "」は整数（円）で入力してください";
            return false;
        }
        out = std::stoll(t);
        return true;
    };
    request.note = form.note;
    return price(form.buyPrice, request.buyExitPrice) &&
           price(form.sellPrice, request.sellExitPrice);
}

// The stored rule's rates of margin interest and 貸株料, which the close counts the costs by.
void setStoredRates(const AppContext& a, CloseRequest& request) {
    if (a.store != nullptr) {
        const BacktestRule rule = loadPairSearchSettings(*a.store).rule;
        request.buyRate = rule.buyRate;
        request.borrowRate = rule.borrowRate;
    }
}

std::string legCode(const PositionLeg& leg) {
    return stockCodeText(leg.marketLetter[0], leg.stockCode);
}

}  // namespace

PositionForm positionFormFor(AppContext& a, int position) {
    PositionForm form;
    if (!validPosition(a, position)) {
        form.buyDate = form.sellDate = isoDate(newestPriceDate(a.md));
        return form;
    }
    const PositionDraft d = draftOf(a.positions.records[static_cast<size_t>(position)]);
    form.buyCode = d.buyCode;
    form.sellCode = d.sellCode;
    form.buyName = d.buyName;
    form.sellName = d.sellName;
    form.buyDate = d.buyDate == 0 ? std::string() : isoDate(d.buyDate);
    form.sellDate = d.sellDate == 0 ? std::string() : isoDate(d.sellDate);
    form.buyQuantity = d.buyQuantity;
    form.sellQuantity = d.sellQuantity;
    return form;
}

PositionFormPreview previewPositionForm(AppContext& a, const PositionForm& form) {
    PositionFormPreview preview;
    int32_t buyClose = 0;
    int32_t sellClose = 0;
    preview.buyFound = legFound(a, form.buyCode, form.buyDate, preview.buyName, buyClose);
    preview.sellFound = legFound(a, form.sellCode, form.sellDate, preview.sellName, sellClose);
    std::string buyQuantity = form.buyQuantity;
    std::string sellQuantity = form.sellQuantity;
    if (form.byAmount) {
        PositionDraft draft;
        std::string message;
        if (draftFromForm(form, draft, message)) {
            const PositionDraftOutcome made = makePosition(a.md, a.corrections, draft);
            if (made.ok) {
                preview.buyQuantity = std::to_string(made.record.buy.quantity);
                preview.sellQuantity = std::to_string(made.record.sell.quantity);
            }
        }
        buyQuantity = preview.buyQuantity;
        sellQuantity = preview.sellQuantity;
    }
    int32_t buyShares = 0;
    int32_t sellShares = 0;
    std::string ignored;
    if (buyClose > 0 && sellClose > 0 && parseQuantity(trimmed(buyQuantity), buyShares, ignored) &&
        parseQuantity(trimmed(sellQuantity), sellShares, ignored)) {
        preview.amounts =
            legAmountsText(int64_t{buyShares} * buyClose, int64_t{sellShares} * sellClose);
    }
    return preview;
}

FormWrite writePositionForm(AppContext& a, int position, const PositionForm& form) {
    FormWrite result;
    PositionDraft draft;
    if (!draftFromForm(form, draft, result.message)) {
        return result;
    }
    const PositionDraftOutcome made = makePosition(a.md, a.corrections, draft);
    if (!made.ok) {
        result.message = made.message;
        return result;
    }
    PositionFileSnapshot snapshot;
    if (!snapshotAsRead(a, snapshot, result.message)) {
        return result;
    }
    PositionEdit edit;
    edit.kind = position < 0 ? PositionEditKind::Add : PositionEditKind::Change;
    edit.position = position;
    edit.record = made.record;
    const PositionEditOutcome written = writePositionEdit(snapshot, edit);
    result.ok = written.ok;
    result.message = written.message;
    result.position = written.position;
    return result;
}

std::string legAmountsText(int64_t buyAmount, int64_t sellAmount) {
    return "金額　買い " + groupedNumber(buyAmount) + " 円　売り " + groupedNumber(sellAmount) +
           " 円　差 " + groupedNumber(buyAmount - sellAmount) + " 円";
}

void refillClosePrices(AppContext& a, int position, CloseForm& form, CloseForm& filled) {
    CloseForm atDate = form;
    atDate.buyPrice.clear();
    atDate.sellPrice.clear();
    const CloseFormPreview p = previewCloseForm(a, position, atDate);
    if (!p.ok) {
        return;
    }
    const auto refill = [](std::string& shown, std::string& before, const std::string& close) {
        // Only a price the dialog put there (or none) follows the date.
        if (trimmed(shown).empty() || shown == before) {
            shown = close;
            before = close;
        }
    };
    refill(form.buyPrice, filled.buyPrice, p.buyClose);
    refill(form.sellPrice, filled.sellPrice, p.sellClose);
    filled.exitDate = form.exitDate;
}

CloseForm closeFormFor(AppContext& a, int position) {
    CloseForm form;
    const CloseFormPreview preview = previewCloseForm(a, position, form);
    form.exitDate = preview.exitDate;
    form.buyPrice = preview.buyClose;
    form.sellPrice = preview.sellClose;
    return form;
}

std::string closeSummaryText(const AppContext& a, int position) {
    if (!validPosition(a, position)) {
        return {};
    }
    const PositionRecord& p = a.positions.records[static_cast<size_t>(position)];
    const auto leg = [](const char* side, const PositionLeg& l) {
        return std::string(side) + " " + legCode(l) + " " + shownShortName(l.shortName) + " " +
               std::to_string(l.quantity) + "株";
    };
    return "建玉 " + std::to_string(position + 1) + "：" + leg("買い", p.buy) + "　" +
           leg("売り", p.sell);
}

CloseFormPreview previewCloseForm(AppContext& a, int position, const CloseForm& form) {
    CloseFormPreview preview;
    if (!validPosition(a, position)) {
        preview.text = "建玉がありません";
        return preview;
    }
    const PositionRecord& p = a.positions.records[static_cast<size_t>(position)];
    CloseRequest request;
    if (!closeFormRequest(form, request, preview.text)) {
        return preview;
    }
    setStoredRates(a, request);
    CloseRequest atCloses = request;
    atCloses.buyExitPrice.reset();
    atCloses.sellExitPrice.reset();
    const CloseOutcome closes = previewClose(a.md, a.corrections, p, atCloses);
    if (!closes.ok) {
        preview.text = closes.message;
        return preview;
    }
    preview.exitDate = isoDate(closes.trade.closeDate);
    preview.buyClose = std::to_string(closes.trade.buy.exitPrice);
    preview.sellClose = std::to_string(closes.trade.sell.exitPrice);
    const CloseOutcome typed = previewClose(a.md, a.corrections, p, request);
    if (!typed.ok) {
        preview.text = typed.message;
        return preview;
    }
    preview.ok = true;
    preview.text = "損益　買い " + groupedNumber(typed.trade.buy.profit) + " 円　売り " +
                   groupedNumber(typed.trade.sell.profit) + " 円　合計 " +
                   groupedNumber(typed.trade.profit) + " 円\n金利・貸株料 " +
                   groupedNumber(typed.trade.carry.value_or(0)) + " 円　実質損益 " +
                   groupedNumber(typed.trade.net.value_or(typed.trade.profit)) + " 円";
    return preview;
}

FormWrite writeCloseForm(AppContext& a, int position, const CloseForm& form) {
    FormWrite result;
    CloseRequest request;
    if (!validPosition(a, position)) {
        result.message = "建玉がありません";
        return result;
    }
    if (!closeFormRequest(form, request, result.message)) {
        return result;
    }
    PositionFileSnapshot snapshot;
    if (!snapshotAsRead(a, snapshot, result.message)) {
        return result;
    }
    request.position = position;
    setStoredRates(a, request);
    const CloseOutcome closed =
        closePosition(a.md, a.corrections, snapshot, closedTradesPath(a.paths), request);
    result.ok = closed.ok;
    result.message = closed.message;
    result.position = position;
    return result;
}

std::string removeQuestion(const AppContext& a, int position) {
    if (!validPosition(a, position)) {
        return {};
    }
    const PositionRecord& p = a.positions.records[static_cast<size_t>(position)];
    return "建玉 " + std::to_string(position + 1) + "（買い " + legCode(p.buy) + " / 売り " +
           legCode(p.sell) + "）を建玉ファイルから削除します。よろしいですか？";
}

FormWrite removePosition(AppContext& a, int position) {
    FormWrite result;
    PositionFileSnapshot snapshot;
    if (!snapshotAsRead(a, snapshot, result.message)) {
        return result;
    }
    PositionEdit edit;
    edit.kind = PositionEditKind::Remove;
    edit.position = position;
    const PositionEditOutcome written = writePositionEdit(snapshot, edit);
    result.ok = written.ok;
    result.message = written.message;
    result.position = position;
    return result;
}

void showPositionsAfterWrite(AppContext& a, Shell& shell, int position) {
    bool missing = false;
    const int count = readPositionFile(a.paths.positionFile, a.positions, &missing);
    shell.scheduleOverview();
    if (missing || count <= 0) {
        a.positions.positionCount = 0;
        releasePairSeries(a.series);
        shell.setSelectorItems({});
        disablePositionCommands(a, shell);
        shell.invalidateWindow();
        return;
    }
    enablePositionCommands(a, shell);
    fillPositionSelector(a, shell);
    const int shown = std::clamp(position, 0, count - 1);
    if (shown != 0) {
        shell.selectSelectorItem(shown);
        a.view.currentPosition = shown;
        a.view.comboSelection = shown;
        rebuildSeries(a, shell);
    }
    shell.invalidateWindow();
}

void onPositionCommand(AppContext& a, Shell& shell, int commandId) {
    if (commandId == command::kClosedTrades) {
        shell.openClosedTradesWindow();
        return;
    }
    if (commandId == command::kAddPosition) {
        const int shown = shell.runPositionDialog(static_cast<int>(PositionDialogKind::Add));
        if (shown >= 0) {
            showPositionsAfterWrite(a, shell, shown);
        }
        return;
    }
    const int current = a.view.currentPosition;
    const char* title = commandId == command::kChangePosition  ? kChangeTitle
                        : commandId == command::kClosePosition ? kCloseTitle
                                                               : kRemoveTitle;
    if (!validPosition(a, current)) {
        shell.messageBox("建玉がありません", title, MessageIcon::Exclamation);
        return;
    }
    if (commandId == command::kRemovePosition) {
        if (!shell.askYesNo(removeQuestion(a, current), title)) {
            return;
        }
        const FormWrite removed = removePosition(a, current);
        if (!removed.ok) {
            shell.messageBox(removed.message, title, MessageIcon::Exclamation);
            return;
        }
        showPositionsAfterWrite(a, shell, removed.position);
        return;
    }
    const PositionDialogKind kind = commandId == command::kChangePosition
                                        ? PositionDialogKind::Change
                                        : PositionDialogKind::Close;
    const int shown = shell.runPositionDialog(static_cast<int>(kind));
    if (shown >= 0) {
        showPositionsAfterWrite(a, shell, shown);
    }
}

}  // namespace zepa
