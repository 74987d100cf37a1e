#include "plan/qt/TemplateDialogsQt.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "controls/qt/ControlNames.h"
#include "controls/qt/IdControls.h"
#include "controls/qt/QtText.h"
#include "core/QuilletData.h"
#include "core/TarnStringList.h"
#include "envelopes/EnvelopeList.h"
#include "plan/Period.h"
#include "views/qt/Ledger.h"

namespace {

QPushButton* Button(QWidget* parent, const char* objectName, const QString& caption) {
    auto* button = NameControl(new QPushButton(caption, parent), objectName, caption);
    button->setAutoDefault(false);
    return button;
}

void CopyText(char* buffer, size_t size, const QString& text) {
    CopyToBuffer(buffer, size, ToWindows1252(text));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The property dialog

TXTemplatePropertiesDialog::TXTemplatePropertiesDialog(TXTemplateDialogBuffer& b, QWidget* parent)
    : QDialog(parent), buffer(b) {
    setObjectName("templateProperties");
    setWindowTitle(FromWindows1252(buffer.caption));
    setAccessibleName(windowTitle());
    setSizeGripEnabled(true);
    const TXTemplateFields& f = buffer.fields;

    name = NameControl(new QLineEdit(FromWindows1252(f.name), this), "templateName", "Name");
    name->setMaxLength(static_cast<int>(TXTemplateFields::NameSize - 1));
    include = NameControl(new QCheckBox("&Include in Allocation Plan", this), "includeInPlan",
                          "Include in Allocation Plan");
    include->setChecked(f.includeInPlan != 0);
    static const TPeriod periods;
    period = new TIdComboBox(this, "templatePeriod", "Period", periods, 1, Period::Monthly);
    period->SetId(f.period);
    payableTo =
        NameControl(new QLineEdit(FromWindows1252(f.payableTo), this), "payableTo", "Payable To");
    memo = NameControl(new QLineEdit(FromWindows1252(f.memo), this), "memo", "Memo");
    for (QLineEdit* edit : {payableTo, memo})
        edit->setMaxLength(static_cast<int>(TXTemplateFields::TextSize - 1));
    total = NameControl(new QLineEdit(FromWindows1252(buffer.total), this), "total", "Total");
    total->setReadOnly(true);
    total->setAlignment(Qt::AlignRight);
    QPushButton* choose = Button(this, "chooseEnvelope", "Choose &Envelope");
    QPushButton* close = Button(this, "close", "&Close");
    connect(choose, &QPushButton::clicked, this, &TXTemplatePropertiesDialog::ChooseEnvelope);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* form = new QFormLayout;
    form->addRow("&Name:", name);
    form->addRow("", include);
    form->addRow("P&eriod:", period);
    form->addRow("&Payable To:", payableTo);
    form->addRow("&Memo:", memo);
    form->addRow("Total:", total);
    auto* side = new QVBoxLayout;
    side->addWidget(choose);
    side->addWidget(close);
    side->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(form, 1);
    top->addLayout(side);

    // The items in the ledger grid, every other row pale green.
    grid = NameControl(new TLedger(this, buffer.xtemplate->GetItems(), false), "templateItems",
                       "Items");
    for (const auto& [column, chars] : buffer.columns)
        grid->AddColumn(column, chars);
    grid->SetStripe(QColor(128, 255, 128));
    grid->LoadAtTop(true);
    // Escape outside an editor closes the dialog like "&Close".
    connect(grid, &TLedger::EscapePressed, this, &QDialog::reject);
    // The grid keeps its top-left corner; its right and bottom margins equal its left one.
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid, 1);
    const int margin = layout->contentsMargins().left();
    layout->setContentsMargins(margin, layout->contentsMargins().top(), margin, margin);

    resize(buffer.width, buffer.height);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - QPoint(buffer.width / 2, buffer.height / 2));
    }
    buffer.xtemplate->SetOpenDialog(this);
    name->setFocus();
}

TXTemplatePropertiesDialog::~TXTemplatePropertiesDialog() {
    buffer.xtemplate->SetOpenDialog(nullptr);
}

void TXTemplatePropertiesDialog::TotalChanged(const std::string& text) {
    total->setText(FromWindows1252(text));
}

void TXTemplatePropertiesDialog::ChooseEnvelope() {
    if (ChooseTemplateItemEnvelope(static_cast<TXTemplateItem*>(grid->GetCurrentItem())))
        grid->viewport()->update();
    grid->setFocus();
}

TXTemplateFields TXTemplatePropertiesDialog::Fields() const {
    TXTemplateFields f;
    CopyText(f.name, sizeof f.name, name->text());
    f.includeInPlan = include->isChecked() ? 1 : 0;
    f.period = period->GetId() ? period->GetId() : Period::Monthly;
    CopyText(f.payableTo, sizeof f.payableTo, payableTo->text());
    CopyText(f.memo, sizeof f.memo, memo->text());
    return f;
}

void TXTemplatePropertiesDialog::done(int result) {
    // Close, the close box and Escape all come here; a refused name keeps the dialog open.
    const TXTemplateFields f = Fields();
    if (buffer.check && !buffer.check(f)) {
        name->setFocus();
        name->selectAll();
        return;
    }
    buffer.fields = f;
    QDialog::done(result);
}

void TXTemplatePropertiesDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const QSize outer = frameGeometry().size();
    buffer.width = outer.width();
    buffer.height = outer.height();
}

// ---------------------------------------------------------------------------------------------
// The list dialog

TManagedListDialogQt::TManagedListDialogQt(TManagedListDialog& l, QWidget* parent)
    : QDialog(parent), logic(l) {
    setObjectName("managedList");
    setWindowTitle(FromWindows1252(logic.GetCaption()));
    setAccessibleName(windowTitle());
    auto* group = new QGroupBox(" Items ", this);
    names = NameControl(new QListWidget(group), "itemNames", "Items");
    auto* add = Button(group, "addItem", "&Add Item");
    auto* copy = Button(group, "copyItem", "&Copy Item");
    auto* properties = Button(group, "properties", "&Properties");
    auto* remove = Button(group, "deleteItem", "&Delete Item");
    auto* close = Button(this, "close", "Close");
    connect(add, &QPushButton::clicked, this, [this] { Run(&TManagedListDialog::AddItem); });
    connect(copy, &QPushButton::clicked, this, [this] { Run(&TManagedListDialog::CopyItem); });
    connect(properties, &QPushButton::clicked, this,
            [this] { Run(&TManagedListDialog::EditItem); });
    connect(names, &QListWidget::itemDoubleClicked, this,
            [this] { Run(&TManagedListDialog::EditItem); });
    connect(remove, &QPushButton::clicked, this, [this] { Run(&TManagedListDialog::DeleteItem); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {add, copy, properties, remove})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* inGroup = new QHBoxLayout(group);
    inGroup->addWidget(names, 1);
    inGroup->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group, 1);
    layout->addWidget(close, 0, Qt::AlignRight);
    Refill();
}

void TManagedListDialogQt::Run(void (TManagedListDialog::*command)()) {
    logic.Select(names->currentRow());
    (logic.*command)();
    Refill();
}

void TManagedListDialogQt::Refill() {
    names->clear();
    for (const std::string& n : logic.GetNames())
        names->addItem(FromWindows1252(n));
    names->setCurrentRow(logic.GetSelection());
    names->setFocus();
}

// ---------------------------------------------------------------------------------------------

void TTemplateDialogsQt::EditTemplate(TXTemplateDialogBuffer& buffer) {
    QWidget* owner = QApplication::activeModalWidget();
    TXTemplatePropertiesDialog dialog(buffer, owner ? owner : parent);
    dialog.exec();
}

void TTemplateDialogsQt::ManageList(TManagedListDialog& logic) {
    TManagedListDialogQt dialog(logic, parent);
    dialog.exec();
}
