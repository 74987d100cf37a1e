#include "import/qt/ImportDialogsQt.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "accounts/AccountList.h"
#include "accounts/AccountNode.h"
#include "accounts/AccountRoot.h"
#include "controls/qt/ControlNames.h"
#include "controls/qt/QtText.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeNode.h"
#include "envelopes/EnvelopeRoot.h"

namespace {

// The framework's filter text ("name|pattern|" pairs) as a Qt file dialog filter.
QString QtFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|', Qt::SkipEmptyParts);
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
    return out.join(QStringLiteral(";;"));
}

QWidget* ActiveParent(QWidget* fallback) {
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal : fallback;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

TImportXDialog::TImportXDialog(const TImportXBuffer& b, TQuilletData* doc,
                               std::function<bool(TImportAccountBuffer&)> choose, QWidget* parent)
    : QDialog(parent), buffer(b), document(doc), chooseAccount(std::move(choose)) {
    setWindowTitle(QStringLiteral("Import Transactions"));
    setObjectName(QStringLiteral("importXDialog"));
    setAccessibleName(windowTitle());

    account = NameControl(new QLabel(this), "ctl1084", QStringLiteral("Account"));
    auto* chooseButton = NameControl(new QPushButton(QStringLiteral("..."), this), "ctl1085",
                                     QStringLiteral("Choose Account"));
    chooseButton->setAutoDefault(false);
    chooseButton->setMaximumWidth(chooseButton->fontMetrics().horizontalAdvance("....") * 3);
    connect(chooseButton, &QPushButton::clicked, this, &TImportXDialog::ChangeAccount);
    auto* accountRow = new QHBoxLayout;
    accountRow->addWidget(new QLabel(QStringLiteral("Account:"), this));
    accountRow->addWidget(account, 1);
    accountRow->addWidget(chooseButton);

    automatic = NameControl(new QRadioButton(QStringLiteral("Automatic Import"), this), "ctl1078",
                            QStringLiteral("Automatic Import"));
    all = NameControl(new QRadioButton(QStringLiteral("Import All Transactions"), this), "ctl1077",
                      QStringLiteral("Import All Transactions"));
    onlyNewer = NameControl(new QCheckBox(QStringLiteral("Only Import if Newer Than:"), this),
                            "ctl1087", QStringLiteral("Only Import if Newer Than"));
    newerDate = NameControl(new QLineEdit(this), "ctl1086", QStringLiteral("Last Import"));
    connect(onlyNewer, &QCheckBox::toggled, newerDate, &QWidget::setEnabled);
    auto* newerRow = new QHBoxLayout;
    newerRow->addWidget(onlyNewer);
    newerRow->addWidget(newerDate);
    newerRow->addWidget(new QLabel(QStringLiteral("(Last Import)"), this));
    ignoreCheckNo =
        NameControl(new QCheckBox(QStringLiteral("Allow Duplicate Check Numbers"), this), "ctl1088",
                    QStringLiteral("Allow Duplicate Check Numbers"));

    envelope = NameControl(new QComboBox(this), "ctl1090", QStringLiteral("Envelope"));
    if (document) {
        TEnvelopeRoot* root = document->GetEnvelopes().GetEnvelopeRoot();
        for (TTreeItem* node = root; node; node = node->Next(true)) {
            auto* e = static_cast<TEnvelopeNode*>(node);
            if (e->Kind() == TEnvelopeKind::Envelope)
                envelope->addItem(FromWindows1252(e->GetName()), e->GetId());
        }
    }
    codePos = NameControl(new QLineEdit(this), "ctl1080", QStringLiteral("Type +"));
    codeNeg = NameControl(new QLineEdit(this), "ctl1081", QStringLiteral("Type -"));
    codePos->setMaxLength(static_cast<int>(ImportCodeLength));
    codeNeg->setMaxLength(static_cast<int>(ImportCodeLength));
    copyPayableTo = NameControl(new QCheckBox(QStringLiteral("Copy \"Payable To\" to Memo"), this),
                                "ctl1083", QStringLiteral("Copy Payable To to Memo"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Envelope:"), envelope);
    form->addRow(QStringLiteral("Type &+:"), codePos);
    form->addRow(QStringLiteral("Type &-:"), codeNeg);

    auto* buttons = new QDialogButtonBox(this);
    auto* import = buttons->addButton(QStringLiteral("&Import..."), QDialogButtonBox::AcceptRole);
    import->setObjectName(QStringLiteral("ctl1"));
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("ctl2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(accountRow);
    layout->addWidget(automatic);
    layout->addWidget(all);
    layout->addLayout(newerRow);
    layout->addWidget(ignoreCheckNo);
    layout->addLayout(form);
    layout->addWidget(copyPayableTo);
    layout->addWidget(buttons);
    ShowBuffer();
}

void TImportXDialog::ShowBuffer() {
    const TImportOptions& o = buffer.options;
    account->setText(FromWindows1252(buffer.accountName.substr(0, TImportXBuffer::AccountNameMax)));
    // The two radios are one choice; a buffer with neither set shows automatic.
    all->setChecked(o.all != 0 && o.automatic == 0);
    automatic->setChecked(!all->isChecked());
    onlyNewer->setChecked(o.onlyNewer != 0);
    newerDate->setText(QString::fromStdString(o.onlyNewerDate.Format(DateLongYear)));
    newerDate->setEnabled(onlyNewer->isChecked());
    ignoreCheckNo->setChecked(o.ignoreCheckNo != 0);
    int index = envelope->findData(o.envelope);
    envelope->setCurrentIndex(index >= 0 ? index : 0);
    codePos->setText(FromWindows1252(o.codePos));
    codeNeg->setText(FromWindows1252(o.codeNeg));
    copyPayableTo->setChecked(o.copyPayableTo != 0);
}

void TImportXDialog::ReadControls() {
    TImportOptions& o = buffer.options;
    o.automatic = automatic->isChecked() ? 1 : 0;
    o.all = all->isChecked() ? 1 : 0;
    o.onlyNewer = onlyNewer->isChecked() ? 1 : 0;
    const TDate date =
        TDate::Parse(ToWindows1252(newerDate->text().trimmed()), TDate::Today().Year());
    if (!date.IsEmpty() && date.IsValid()) o.onlyNewerDate = date;
    o.ignoreCheckNo = ignoreCheckNo->isChecked() ? 1 : 0;
    if (envelope->currentIndex() >= 0) o.envelope = envelope->currentData().toUInt();
    o.codePos = ToWindows1252(codePos->text()).substr(0, ImportCodeLength);
    o.codeNeg = ToWindows1252(codeNeg->text()).substr(0, ImportCodeLength);
    o.copyPayableTo = copyPayableTo->isChecked() ? 1 : 0;
}

void TImportXDialog::ChangeAccount() {
    TImportAccountBuffer chosen{buffer.account};
    if (!chooseAccount || !chooseAccount(chosen) || !buffer.changeAccount) return;
    buffer.changeAccount(buffer, chosen.account);
    ShowBuffer();
}

void TImportXDialog::accept() {
    ReadControls();
    QDialog::accept();
}

// ---------------------------------------------------------------------------------------------

TChooseAccountDialog::TChooseAccountDialog(TQuilletData& document, uint32_t selected,
                                           QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Select Import Account"));
    setObjectName(QStringLiteral("chooseAccountDialog"));
    setAccessibleName(windowTitle());
    list = NameControl(new QListWidget(this), "accountList", QStringLiteral("Accounts"));
    TAccountList& accounts = document.GetAccounts();
    for (TTreeItem* node = accounts.GetAccountRoot(); node; node = node->Next(true)) {
        auto* a = static_cast<TAccountNode*>(node);
        if (!accounts.GetAccount(a->GetId())) continue;
        auto* item = new QListWidgetItem(FromWindows1252(a->GetName()), list);
        item->setData(Qt::UserRole, a->GetId());
        if (a->GetId() == selected || list->count() == 1) list->setCurrentItem(item);
    }
    connect(list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list, 1);
    layout->addWidget(buttons);
}

uint32_t TChooseAccountDialog::Account() const {
    return list->currentItem() ? list->currentItem()->data(Qt::UserRole).toUInt() : 0;
}

// ---------------------------------------------------------------------------------------------

TImportDialogsQt::TImportDialogsQt(QWidget* p) : parent(p) {}

TImportDialogsQt::~TImportDialogsQt() = default;

bool TImportDialogsQt::ChooseStatementFile(TStatementFileBuffer& buffer) {
    const QString path = QFileDialog::getOpenFileName(
        ActiveParent(parent), QString::fromStdString(buffer.title),
        QFile::decodeName(QByteArray::fromStdString(buffer.folder)), QtFilter(buffer.filter));
    if (path.isEmpty()) return false;
    buffer.path = QFile::encodeName(path).toStdString();
    return true;
}

bool TImportDialogsQt::ChooseImportAccount(TImportAccountBuffer& buffer) {
    TQuilletData* doc = TQuilletData::Current();
    if (!doc) return false;
    TChooseAccountDialog dialog(*doc, buffer.account, ActiveParent(parent));
    if (dialog.exec() != QDialog::Accepted || dialog.Account() == 0) return false;
    buffer.account = dialog.Account();
    return true;
}

bool TImportDialogsQt::ImportTransactions(TImportXBuffer& buffer) {
    TImportXDialog dialog(
        buffer, TQuilletData::Current(),
        [this](TImportAccountBuffer& b) { return ChooseImportAccount(b); }, ActiveParent(parent));
    if (dialog.exec() != QDialog::Accepted) return false;
    buffer = dialog.Buffer();
    return true;
}

void TImportDialogsQt::ImportStarted(size_t items) {
    if (busy) return;
    busy = true;
    total = items;
    clock.start();
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TImportDialogsQt::ImportProgress(size_t done) {
    if (!busy) return;
    // The progress dialog appears once the import has taken a second; until then the wait
    // cursor says enough.
    if (!progress && clock.elapsed() > 1000) {
        progress = std::make_unique<QProgressDialog>(
            QStringLiteral("Importing transactions..."), QString(), 0,
            static_cast<int>(std::min<size_t>(total, INT_MAX)), ActiveParent(parent));
        progress->setWindowTitle(QStringLiteral("Importer"));
        progress->setWindowModality(Qt::ApplicationModal);
        progress->setMinimumDuration(0);
        progress->setCancelButton(nullptr);
    }
    if (progress && (done % 16 == 0 || done + 1 == total)) {
        // A modal progress dialog keeps the windows painting while it moves.
        progress->setValue(static_cast<int>(std::min<size_t>(done, INT_MAX)));
    }
}

void TImportDialogsQt::ImportFinished() {
    if (!busy) return;
    busy = false;
    progress.reset();
    QApplication::restoreOverrideCursor();
}
