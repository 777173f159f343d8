#include "app/window/position_dialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "app/window/qt_values.h"

namespace zepa {
namespace {

using namespace position_dialog;

constexpr int kFontPixels = 15;

std::string text(const QLineEdit* e) {
    return e != nullptr ? e->text().toStdString() : std::string();
}

// The add and change dialog's text fields: the buy leg's in the left column, the sell leg's in
// the right.
const struct {
    const char* label;
    int buyId;
    int sellId;
    std::string PositionForm::*buy;
    std::string PositionForm::*sell;
} kFormRows[] = {
    {"銘柄コード", kBuyCode, kSellCode, &PositionForm::buyCode, &PositionForm::sellCode},
    {"略称", kBuyName, kSellName, &PositionForm::buyName, &PositionForm::sellName},
    {"建てた日", kBuyDate, kSellDate, &PositionForm::buyDate, &PositionForm::sellDate},
    {"株数", kBuyQuantity, kSellQuantity, &PositionForm::buyQuantity, &PositionForm::sellQuantity},
};

}  // namespace

PositionFormDialog::PositionFormDialog(QWidget* owner, AppContext& a, int position, int heightUnits)
    : TemplateDialog(owner, kFontPixels, 330, heightUnits), a_(a), position_(position) {
    setFixedSize(size());
}

QLineEdit* PositionFormDialog::edit(int id) const {
    return qobject_cast<QLineEdit*>(control(id));
}

void PositionFormDialog::finish(const FormWrite& write, const char* caption) {
    if (write.ok) {
        written_ = write.position;
        accept();
    } else if (showMessage) {
        showMessage(write.message, caption);
    } else {
        QMessageBox box(QMessageBox::Warning, fromUtf8(caption), fromUtf8(write.message),
                        QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
}

PositionDialog::PositionDialog(QWidget* owner, AppContext& a, int position,
                               const PositionForm* filled)
    : PositionFormDialog(owner, a, position, 168) {
    setWindowTitle(fromUtf8(position < 0 ? kAddTitle : kChangeTitle));
    const PositionForm initial =
        filled != nullptr && position < 0 ? *filled : positionFormFor(a, position);

    place(new QLabel(QStringLiteral("買い"), this), -1, DialogRect{70, 4, 120, 10});
    place(new QLabel(QStringLiteral("売り"), this), -1, DialogRect{200, 4, 120, 10});
    int y = 16;
    for (const auto& r : kFormRows) {
        place(new QLabel(fromUtf8(r.label), this), -1, DialogRect{6, y + 1, 62, 10});
        place(new QLineEdit(fromUtf8(initial.*r.buy), this), r.buyId, DialogRect{70, y, 120, 12});
        place(new QLineEdit(fromUtf8(initial.*r.sell), this), r.sellId,
              DialogRect{200, y, 120, 12});
        y += 16;
    }
    auto* byAmount =
        place(new QCheckBox(fromUtf8(kByAmountText), this), kByAmount, DialogRect{6, y, 62, 12});
    place(new QLineEdit(this), kAmount, DialogRect{70, y, 120, 12});
    place(new QLabel(QStringLiteral("円（各銘柄）"), this), -1, DialogRect{200, y + 1, 120, 10});
    y += 16;
    place(new QLabel(QStringLiteral("建値（終値）"), this), -1, DialogRect{6, y + 1, 62, 10});
    for (const int id : {kBuyFound, kSellFound}) {
        auto* found =
            place(new QLabel(this), id, DialogRect{id == kBuyFound ? 70 : 200, y, 120, 32});
        found->setWordWrap(true);
        found->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        found->setTextFormat(Qt::PlainText);
    }
    auto* amounts = place(new QLabel(this), kAmounts, DialogRect{6, y + 34, 318, 12});
    amounts->setTextFormat(Qt::PlainText);
    auto* ok = place(new QPushButton(fromUtf8(kOkText), this), kOk, DialogRect{105, 146, 56, 14});
    auto* cancel =
        place(new QPushButton(fromUtf8(kCancelText), this), kCancel, DialogRect{170, 146, 56, 14});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { press(kOk); });
    connect(cancel, &QPushButton::clicked, this, [this] { press(kCancel); });
    connect(byAmount, &QCheckBox::toggled, this, [this] { refresh(); });
    for (const int id :
         {kBuyCode, kSellCode, kBuyDate, kSellDate, kBuyQuantity, kSellQuantity, kAmount}) {
        connect(edit(id), &QLineEdit::editingFinished, this, [this] { refresh(); });
    }
    autoBuyName_ = initial.buyName;
    autoSellName_ = initial.sellName;
    refresh();
    edit(kBuyCode)->setFocus();
}

PositionForm PositionDialog::form() const {
    PositionForm f;
    for (const auto& r : kFormRows) {
        f.*r.buy = text(edit(r.buyId));
        f.*r.sell = text(edit(r.sellId));
    }
    f.byAmount = qobject_cast<QCheckBox*>(control(kByAmount))->isChecked();
    f.amount = text(edit(kAmount));
    return f;
}

void PositionDialog::refresh() {
    const PositionForm f = form();
    const PositionFormPreview p = previewPositionForm(a_, f);
    qobject_cast<QLabel*>(control(kBuyFound))->setText(fromUtf8(p.buyFound));
    qobject_cast<QLabel*>(control(kSellFound))->setText(fromUtf8(p.sellFound));
    qobject_cast<QLabel*>(control(kAmounts))->setText(fromUtf8(p.amounts));
    // A name the trader typed stays; one filled in follows the code.
    const auto fillName = [this](int id, const std::string& found, std::string& filled) {
        QLineEdit* e = edit(id);
        if (!found.empty() && (text(e).empty() || text(e) == filled)) {
            e->setText(fromUtf8(found));
            filled = found;
        }
    };
    fillName(kBuyName, p.buyName, autoBuyName_);
    fillName(kSellName, p.sellName, autoSellName_);
    edit(kAmount)->setEnabled(f.byAmount);
    edit(kBuyQuantity)->setReadOnly(f.byAmount);
    edit(kSellQuantity)->setReadOnly(f.byAmount);
    if (f.byAmount) {
        edit(kBuyQuantity)->setText(fromUtf8(p.buyQuantity));
        edit(kSellQuantity)->setText(fromUtf8(p.sellQuantity));
    }
}

void PositionDialog::press(int id) {
    if (id != kOk) {
        QDialog::reject();
        return;
    }
    refresh();
    finish(writePositionForm(a_, position_, form()), position_ < 0 ? kAddTitle : kChangeTitle);
}

CloseDialog::CloseDialog(QWidget* owner, AppContext& a, int position)
    : PositionFormDialog(owner, a, position, 132) {
    setWindowTitle(fromUtf8(kCloseTitle));
    const CloseForm initial = closeFormFor(a, position);
    auto* summary = place(new QLabel(fromUtf8(closeSummaryText(a, position)), this), kCloseSummary,
                          DialogRect{6, 4, 318, 12});
    summary->setTextFormat(Qt::PlainText);
    const struct {
        const char* label;
        int id;
        const std::string& value;
        int width;
    } rows[] = {
        {"決済日", kExitDate, initial.exitDate, 90},
        {"買いの決済値", kBuyExitPrice, initial.buyPrice, 90},
        {"売りの決済値", kSellExitPrice, initial.sellPrice, 90},
        {"メモ", kNote, initial.note, 250},
    };
    int y = 20;
    for (const auto& r : rows) {
        place(new QLabel(fromUtf8(r.label), this), -1, DialogRect{6, y + 1, 66, 10});
        place(new QLineEdit(fromUtf8(r.value), this), r.id, DialogRect{74, y, r.width, 12});
        y += 16;
    }
    // Two lines: a refusal naming dates and prices is read whole.
    auto* profit = place(new QLabel(this), kProfit, DialogRect{6, y, 318, 22});
    profit->setTextFormat(Qt::PlainText);
    profit->setWordWrap(true);
    profit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* ok =
        place(new QPushButton(fromUtf8(kOkText), this), kCloseOk, DialogRect{105, 112, 56, 14});
    auto* cancel = place(new QPushButton(fromUtf8(kCancelText), this), kCloseCancel,
                         DialogRect{170, 112, 56, 14});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { press(kCloseOk); });
    connect(cancel, &QPushButton::clicked, this, [this] { press(kCloseCancel); });
    connect(edit(kExitDate), &QLineEdit::editingFinished, this, [this] { dateChanged(); });
    for (const int id : {kBuyExitPrice, kSellExitPrice}) {
        connect(edit(id), &QLineEdit::editingFinished, this, [this] { refresh(); });
    }
    lastDate_ = initial.exitDate;
    filled_ = initial;
    refresh();
    edit(kExitDate)->setFocus();
}

CloseForm CloseDialog::form() const {
    return CloseForm{text(edit(kExitDate)), text(edit(kBuyExitPrice)), text(edit(kSellExitPrice)),
                     text(edit(kNote))};
}

void CloseDialog::dateChanged() {
    CloseForm f = form();
    // Only a new date brings its closes: prices typed for the same date stay.
    if (f.exitDate == lastDate_) {
        refresh();
        return;
    }
    lastDate_ = f.exitDate;
    refillClosePrices(a_, position_, f, filled_);
    edit(kBuyExitPrice)->setText(fromUtf8(f.buyPrice));
    edit(kSellExitPrice)->setText(fromUtf8(f.sellPrice));
    refresh();
}

void CloseDialog::refresh() {
    const CloseFormPreview p = previewCloseForm(a_, position_, form());
    qobject_cast<QLabel*>(control(kProfit))->setText(fromUtf8(p.text));
}

void CloseDialog::press(int id) {
    if (id != kCloseOk) {
        QDialog::reject();
        return;
    }
    finish(writeCloseForm(a_, position_, form()), kCloseTitle);
}

int runPositionDialog(QWidget* owner, AppContext& a, PositionDialogKind kind) {
    const int position = kind == PositionDialogKind::Add ? -1 : a.view.currentPosition;
    if (kind == PositionDialogKind::Close) {
        CloseDialog dialog(owner, a, position);
        dialog.exec();
        return dialog.written();
    }
    PositionDialog dialog(owner, a, position);
    dialog.exec();
    return dialog.written();
}

}  // namespace zepa
