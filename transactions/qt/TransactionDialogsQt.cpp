#include "transactions/qt/TransactionDialogsQt.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <vector>

#include "accounts/AccountList.h"
#include "controls/qt/ControlNames.h"
#include "controls/qt/DialogButtons.h"
#include "controls/qt/EditFields.h"
#include "controls/qt/IdControls.h"
#include "controls/qt/QtText.h"
#include "core/IdObjectList.h"

namespace {

// What the combo boxes list when no budget is open.
const char* const NoNames[] = {nullptr};
const TSimpleIdObjectList NoList(NoNames);

void Caption(QDialog& dialog, const char* objectName, const QString& title) {
    dialog.setObjectName(objectName);
    dialog.setWindowTitle(title);
    dialog.setAccessibleName(title);
}

QLineEdit* TextEdit(QWidget* parent, const char* objectName, const QString& label,
                    const std::string& text, size_t limit) {
    auto* edit = NameControl(new QLineEdit(FromWindows1252(text), parent), objectName, label);
    edit->setMaxLength(static_cast<int>(limit));
    // Wide enough for a code or a few words, however the layout shares its width.
    edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * (limit < 20 ? 10 : 20));
    return edit;
}

// A labelled row of a form whose label moves the focus to the field.
template <class W>
W* Row(QFormLayout& form, const QString& label, W* field) {
    auto* text = new QLabel(label);
    text->setBuddy(field);
    form.addRow(text, field);
    return field;
}

std::string Text(const QLineEdit* edit, size_t limit) {
    return ToWindows1252(edit->text()).substr(0, limit);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// "Account Transfer"

TActXferDialog::TActXferDialog(const TActXferBuffer& b, QWidget* parent)
    : QDialog(parent), buffer(b) {
    Caption(*this, "accountTransfer", "Account Transfer");
    auto* layout = new QVBoxLayout(this);

    // The group's mnemonic takes the focus to the amount, its only field.
    auto* amountGroup = new QGroupBox(" A&mount ", this);
    auto* amountLayout = new QVBoxLayout(amountGroup);
    amount = new TEditFloat(amountGroup, "amount", "Amount", true);
    amountLayout->addWidget(amount);
    amount->SetAmount(buffer.amount);
    layout->addWidget(amountGroup);

    auto* sides = new QHBoxLayout;
    sides->addWidget(SideGroup(" From ", "from", buffer.from, from,
                               {"&Account:", "&Date:", "&Check #/Code", "&Payable To:", "M&emo:"}));
    sides->addWidget(SideGroup(" To ", "to", buffer.to, to,
                               {"Acc&ount:", "Da&te:", "C&heck #/Code", "Pa&yable To:", "Memo:"}));
    layout->addLayout(sides);

    auto* notes = new QGroupBox(" Notes ", this);
    auto* notesLayout = new QVBoxLayout(notes);
    const QString note(
        "A \"~t\" in either the \"Payable To\" or \"Memo\" field will expand to the "
        "corresponding Account.");
    auto* noteLabel = NameControl(new QLabel(note, notes), "note", note);
    noteLabel->setWordWrap(true);
    notesLayout->addWidget(noteLabel);
    layout->addWidget(notes);
    AddOkCancel(*this, *layout);
}

QGroupBox* TActXferDialog::SideGroup(const QString& title, const char* prefix,
                                     const TActXferSide& side, TSide& controls,
                                     const std::array<const char*, 5>& labels) {
    auto* group = new QGroupBox(title, this);
    auto* form = new QFormLayout(group);
    const QString p = QString::fromLatin1(prefix);
    const auto name = [&](const char* field) { return (p + field).toLatin1(); };
    const QString who = title.trimmed() + " ";
    const TIdObjectList& accounts = buffer.accounts ? *buffer.accounts : NoList;
    controls.account = Row(*form, labels[0],
                           new TIdComboBox(group, name("Account").constData(), who + labels[0],
                                           accounts, AccountListAccounts));
    controls.account->SetId(side.account);
    controls.date =
        Row(*form, labels[1], new TEditDate(group, name("Date").constData(), who + labels[1]));
    controls.date->SetDate(side.date);
    controls.code = Row(*form, labels[2],
                        TextEdit(group, name("Code").constData(), who + labels[2], side.code,
                                 TActXferSide::CodeMax));
    controls.payableTo = Row(*form, labels[3],
                             TextEdit(group, name("PayableTo").constData(), who + labels[3],
                                      side.payableTo, TActXferSide::TextMax));
    controls.memo = Row(*form, labels[4],
                        TextEdit(group, name("Memo").constData(), who + labels[4], side.memo,
                                 TActXferSide::TextMax));
    return group;
}

void TActXferDialog::Read(const TSide& controls, TActXferSide& side) const {
    side.account = controls.account->GetId();
    side.date = controls.date->GetDate();
    side.code = Text(controls.code, TActXferSide::CodeMax);
    side.payableTo = Text(controls.payableTo, TActXferSide::TextMax);
    side.memo = Text(controls.memo, TActXferSide::TextMax);
}

TActXferBuffer TActXferDialog::Buffer() const {
    TActXferBuffer b = buffer;
    b.amount = amount->GetAmount();
    Read(from, b.from);
    Read(to, b.to);
    return b;
}

void TActXferDialog::accept() {
    if (buffer.check && !buffer.check(Buffer())) return;
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------
// "Transaction Filter"

namespace {

// Chosen from the keyboard, a choice hands the focus on to its first field. The focus is then on
// a choice of its group: on this one (space) or on the one left (an arrow key moves the focus only
// after choosing), so the field takes it once the key is done with.
void HandFocusOn(QAbstractButton& radio, QWidget& field) {
    auto* focused = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
    if (!focused || !radio.group()->buttons().contains(focused)) return;
    QTimer::singleShot(0, &field, [&field] {
        if (!field.isEnabled()) return;
        field.setFocus(Qt::TabFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(&field)) edit->selectAll();
    });
}

// The criteria groups of one column, top to bottom: each a titled box of radio buttons whose ids
// are the choice's values, with the fields of its last choice beside that choice. The fields are
// enabled only while it is chosen; chosen from the keyboard, it hands the focus to the first
// field with its text selected.
class TCriteriaColumn {
public:
    TCriteriaColumn(QWidget* dialog, QVBoxLayout* column) : dialog(dialog), column(column) {}

    QButtonGroup* Add(const char* objectName, const QString& title,
                      const std::vector<const char*>& captions,
                      const std::vector<const char*>& names) {
        box = NameControl(new QGroupBox(title, dialog), objectName, title.trimmed());
        grid = new QGridLayout(box);
        auto* group = new QButtonGroup(box);
        for (size_t i = 0; i < captions.size(); ++i) {
            auto* radio = NameControl(new QRadioButton(captions[i], box), names[i], captions[i]);
            group->addButton(radio, static_cast<int>(i));
            grid->addWidget(radio, static_cast<int>(i), 0);
        }
        row = static_cast<int>(captions.size()) - 1;
        last = group->button(row);
        fields = 0;
        column->addWidget(box);
        return group;
    }

    // The box of the group added last, where its fields are made.
    QGroupBox* Box() const { return box; }

    template <class W>
    W* Field(W* field) {
        grid->addWidget(field, row, ++fields);
        field->setEnabled(last->isChecked());
        QObject::connect(last, &QAbstractButton::toggled, field,
                         [radio = last, field, first = fields == 1](bool on) {
                             field->setEnabled(on);
                             if (first && on) HandFocusOn(*radio, *field);
                         });
        return field;
    }

    QCheckBox* Exact(const QByteArray& objectName, const QString& what) {
        return Field(
            NameControl(new QCheckBox("Exact", box), objectName.constData(), what + " exact"));
    }

private:
    QWidget* dialog;
    QVBoxLayout* column;
    QGroupBox* box = nullptr;
    QGridLayout* grid = nullptr;
    QAbstractButton* last = nullptr;
    int row = 0;
    int fields = 0;
};

template <class Choice>
void Choose(QButtonGroup* group, Choice choice) {
    if (QAbstractButton* radio = group->button(static_cast<int>(choice))) radio->setChecked(true);
}

template <class Choice>
Choice Chosen(const QButtonGroup* group) {
    return static_cast<Choice>(group->checkedId() < 0 ? 0 : group->checkedId());
}

}  // namespace

TFilterDialog::TFilterDialog(const TFilterDialogBuffer& b, QWidget* parent)
    : QDialog(parent), buffer(b) {
    Caption(*this, "transactionFilter", "Transaction Filter");
    auto* columns = new QHBoxLayout;
    auto* leftLayout = new QVBoxLayout;
    auto* rightLayout = new QVBoxLayout;
    columns->addLayout(leftLayout);
    columns->addLayout(rightLayout);
    TCriteriaColumn left(this, leftLayout);
    TCriteriaColumn right(this, rightLayout);

    date = left.Add("dateGroup", " &Date ", {"Any Date", "Range:"}, {"anyDate", "dateRange"});
    from = left.Field(new TEditDate(left.Box(), "fromDate", "From date"));
    to = left.Field(new TEditDate(left.Box(), "toDate", "To date"));

    amount = left.Add("amountGroup", " A&mount ", {"Any Amount", "Deposit", "Payment", "Range:"},
                      {"anyAmount", "deposit", "payment", "amountRange"});
    minimum = left.Field(new TEditFloat(left.Box(), "minimum", "Minimum amount"));
    maximum = left.Field(new TEditFloat(left.Box(), "maximum", "Maximum amount"));

    code = left.Add("codeGroup", " &Check #/Code ",
                    {"Any Value", "Number Only", "Non-Number or Mixed", "Field Text:"},
                    {"anyCode", "numberOnly", "nonNumber", "codeField"});
    codeText = left.Field(
        TextEdit(left.Box(), "codeText", "Check #/Code text", {}, TFilterCriteria::CodeTextMax));
    codeExact = left.Exact("codeExact", "Check #/Code");

    cleared = left.Add("clearedGroup", " C&leared State ",
                       {"Any State", "Not Cleared or Pending", "Cleared", "Not Cleared"},
                       {"anyCleared", "notClearedOrPending", "cleared", "notCleared"});

    const auto textGroup = [&right](const QByteArray& prefix, const QString& title,
                                    const QString& what, QLineEdit*& text, QCheckBox*& exact) {
        QButtonGroup* choice =
            right.Add((prefix + "Group").constData(), title, {"Any Value", "Field Text:"},
                      {(prefix + "Any").constData(), (prefix + "Field").constData()});
        text = right.Field(TextEdit(right.Box(), (prefix + "Text").constData(), what + " text", {},
                                    TFilterCriteria::TextMax));
        exact = right.Exact(prefix + "Exact", what);
        return choice;
    };
    payableTo =
        textGroup("payableTo", " &Payable To ", "Payable To", payableToText, payableToExact);
    memo = textGroup("memo", " M&emo ", "Memo", memoText, memoExact);

    const TFilterNodeLabels labels = FilterNodeLabels(buffer.mode);
    // " Account " or " Envelope ", with its first letter as the mnemonic.
    const QString nodeTitle = FromWindows1252(labels.group).trimmed();
    node = right.Add("nodeGroup", " &" + nodeTitle + " ",
                     {"Any Value", labels.transfer.c_str(), "Multiple", labels.node.c_str()},
                     {"anyNode", "transfer", "multiple", "node"});
    const TIdObjectList& nodes = buffer.nodes ? *buffer.nodes : NoList;
    nodeId = right.Field(new TIdComboBox(right.Box(), "nodeId", FromWindows1252(labels.node), nodes,
                                         buffer.nodeListFlags));

    import = right.Add("importGroup", " &Import ", {"Any State", "New Import Only"},
                       {"anyImport", "newImport"});

    view = right.Add("viewGroup", " View Settings ", {"Normal View", "Reconcile View"},
                     {"normalView", "reconcileView"});
    if (!buffer.ShowsViewSettings()) {
        for (QAbstractButton* radio : view->buttons())
            radio->setEnabled(false);
        right.Box()->hide();
    }
    rightLayout->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    QDialogButtonBox* buttons = AddOkCancel(*this, *layout);
    QPushButton* reset =
        NameControl(buttons->addButton("&Reset", QDialogButtonBox::ResetRole), "reset", "Reset");
    connect(reset, &QPushButton::clicked, this, [this] { Show(buffer.criteria); });
    Show(buffer.criteria);
}

void TFilterDialog::Show(const TFilterCriteria& c) {
    Choose(date, c.date);
    from->SetDate(c.from);
    to->SetDate(c.to);
    Choose(amount, c.amount);
    minimum->SetValue(c.minimum);
    maximum->SetValue(c.maximum);
    Choose(code, c.code);
    codeText->setText(FromWindows1252(c.codeText));
    codeExact->setChecked(c.codeExact);
    Choose(cleared, c.cleared);
    Choose(payableTo, c.payableTo);
    payableToText->setText(FromWindows1252(c.payableToText));
    payableToExact->setChecked(c.payableToExact);
    Choose(memo, c.memo);
    memoText->setText(FromWindows1252(c.memoText));
    memoExact->setChecked(c.memoExact);
    Choose(node, c.node);
    nodeId->SetId(c.nodeId);
    Choose(import, c.import);
    Choose(view, c.view);
}

TFilterCriteria TFilterDialog::Criteria() const {
    TFilterCriteria c = buffer.criteria;
    c.date = Chosen<TDateChoice>(date);
    c.from = from->GetDate();
    c.to = to->GetDate();
    c.amount = Chosen<TAmountChoice>(amount);
    c.minimum = minimum->GetValue();
    c.maximum = maximum->GetValue();
    c.code = Chosen<TCodeChoice>(code);
    c.codeText = Text(codeText, TFilterCriteria::CodeTextMax);
    c.codeExact = codeExact->isChecked();
    c.cleared = Chosen<TClearedChoice>(cleared);
    c.payableTo = Chosen<TTextChoice>(payableTo);
    c.payableToText = Text(payableToText, TFilterCriteria::TextMax);
    c.payableToExact = payableToExact->isChecked();
    c.memo = Chosen<TTextChoice>(memo);
    c.memoText = Text(memoText, TFilterCriteria::TextMax);
    c.memoExact = memoExact->isChecked();
    c.node = Chosen<TNodeChoice>(node);
    // An empty list (no budget open) keeps the node the criteria named.
    if (nodeId->count() != 0) c.nodeId = nodeId->GetId();
    c.import = Chosen<TImportChoice>(import);
    if (buffer.ShowsViewSettings()) c.view = Chosen<TViewChoice>(view);
    return c;
}

// ---------------------------------------------------------------------------------------------
// "Edit Memo"

TEditMemoDialog::TEditMemoDialog(const TMemoBuffer& buffer, QWidget* parent) : QDialog(parent) {
    Caption(*this, "editMemo", "Edit Memo");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    memo = Row(*form, "&Memo:", TextEdit(this, "memo", "Memo", buffer.memo, TMemoBuffer::MemoMax));
    layout->addLayout(form);
    AddOkCancel(*this, *layout);
    setMinimumWidth(fontMetrics().averageCharWidth() * 60);
}

TMemoBuffer TEditMemoDialog::Buffer() const {
    return {Text(memo, TMemoBuffer::MemoMax)};
}

// ---------------------------------------------------------------------------------------------
// The port

bool TTransactionDialogsQt::AccountTransfer(TActXferBuffer& buffer) {
    TActXferDialog dialog(buffer, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    buffer = dialog.Buffer();
    return true;
}

bool TTransactionDialogsQt::EditFilter(TFilterDialogBuffer& buffer) {
    TFilterDialog dialog(buffer, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    buffer.criteria = dialog.Criteria();
    return true;
}

bool TTransactionDialogsQt::EditMemo(TMemoBuffer& buffer) {
    TEditMemoDialog dialog(buffer, parent);
    if (dialog.exec() != QDialog::Accepted) return false;
    buffer = dialog.Buffer();
    return true;
}
