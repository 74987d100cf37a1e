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
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "accounts/AccountList.h"
#include "controls/qt/Choosers.h"
#include "controls/qt/ControlNames.h"
#include "controls/qt/EditFields.h"
#include "controls/qt/IdControls.h"
#include "controls/qt/QtText.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"

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

TImportXDialog::TImportXDialog(const TImportXBuffer& b, TQuilletData& doc,
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
    newerDate = new TEditDate(this, "ctl1086", QStringLiteral("Last Import"));
    connect(onlyNewer, &QCheckBox::toggled, newerDate, &QWidget::setEnabled);
    auto* newerRow = new QHBoxLayout;
    newerRow->addWidget(onlyNewer);
    newerRow->addWidget(newerDate);
    newerRow->addWidget(new QLabel(QStringLiteral("(Last Import)"), this));
    ignoreCheckNo =
        NameControl(new QCheckBox(QStringLiteral("Allow Duplicate Check Numbers"), this), "ctl1088",
                    QStringLiteral("Allow Duplicate Check Numbers"));

    envelope = new TIdComboBox(this, "ctl1090", QStringLiteral("Envelope"), document.GetEnvelopes(),
                               ListEnvelopes);
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
    newerDate->SetDate(o.onlyNewerDate);
    newerDate->setEnabled(onlyNewer->isChecked());
    ignoreCheckNo->setChecked(o.ignoreCheckNo != 0);
    envelope->SetId(o.envelope);
    codePos->setText(FromWindows1252(o.codePos));
    codeNeg->setText(FromWindows1252(o.codeNeg));
    copyPayableTo->setChecked(o.copyPayableTo != 0);
}

void TImportXDialog::ReadControls() {
    TImportOptions& o = buffer.options;
    o.automatic = automatic->isChecked() ? 1 : 0;
    o.all = all->isChecked() ? 1 : 0;
    o.onlyNewer = onlyNewer->isChecked() ? 1 : 0;
    const TDate date = newerDate->GetDate();
    if (!date.IsEmpty() && date.IsValid()) o.onlyNewerDate = date;
    o.ignoreCheckNo = ignoreCheckNo->isChecked() ? 1 : 0;
    if (const uint32_t id = envelope->GetId()) o.envelope = id;
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
    TIdObjectChooser chooser(TChooserFace::Account, ActiveParent(parent));
    chooser.setWindowTitle(QStringLiteral("Select Import Account"));
    const uint32_t chosen = chooser.Run(doc->GetAccounts(), AccountListAccounts, buffer.account);
    if (chosen == 0) return false;
    buffer.account = chosen;
    return true;
}

bool TImportDialogsQt::ImportTransactions(TImportXBuffer& buffer) {
    TQuilletData* doc = TQuilletData::Current();
    if (!doc) return false;
    TImportXDialog dialog(
        buffer, *doc, [this](TImportAccountBuffer& b) { return ChooseImportAccount(b); },
        ActiveParent(parent));
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
