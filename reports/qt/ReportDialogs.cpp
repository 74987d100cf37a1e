#include "reports/qt/ReportDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

#include "accounts/AccountList.h"
#include "controls/qt/ControlNames.h"
#include "controls/qt/EditFields.h"
#include "controls/qt/IdControls.h"
#include "controls/qt/QtText.h"
#include "core/QuilletData.h"
#include "core/ScreenPort.h"
#include "core/SettingsList.h"
#include "envelopes/EnvelopeList.h"
#include "plan/DateRangePreset.h"
#include "plan/Period.h"
#include "reports/AccountLedgerReport.h"
#include "reports/AccountSummaryReport.h"
#include "reports/AllocationPlanReport.h"
#include "reports/EnvelopeActivityReport.h"
#include "reports/EnvelopeLedgerReport.h"
#include "reports/EnvelopeSummaryReport.h"
#include "reports/FormSizes.h"
#include "reports/qt/FormPreviewDialog.h"
#include "reports/qt/FormPrinterQt.h"

namespace {

TSettingsList* contextSettings = nullptr;
const TScreenPort* contextScreen = nullptr;

const TScreenPort& ContextScreen() {
    static const TFixedScreen fallback(1920, 1080);
    return contextScreen ? *contextScreen : fallback;
}

struct TKindTexts {
    const char* caption;
    const char* exportTitle;
};

TKindTexts TextsOf(TReportKind kind) {
    switch (kind) {
        case TReportKind::AccountLedger:
            return {"Account Ledger Report", ReportExport::AccountLedgerTitle};
        case TReportKind::EnvelopeLedger:
            return {"Envelope Ledger Report", ReportExport::EnvelopeLedgerTitle};
        case TReportKind::AccountSummary:
            return {"Account Summary Report", ReportExport::AccountSummaryTitle};
        case TReportKind::EnvelopeSummary:
            return {"Envelope Summary Report", ReportExport::EnvelopeSummaryTitle};
        case TReportKind::EnvelopeActivity:
            return {"Envelope Activity Report", ReportExport::EnvelopeActivityTitle};
        case TReportKind::AllocationPlan:
            return {"Allocation Plan Report", ReportExport::AllocationPlanTitle};
    }
    return {"", ""};
}

// The check boxes of the activity columns, in column order.
constexpr const char* ColumnBoxes[8] = {"Allocations", "Expenses", "Xfers In",  "Xfers Out",
                                        "All In",      "All Out",  "Start Bal", "End Balance"};

// The framework's filter text ("name|pattern|" pairs) as a Qt file dialog filter.
QString QtFilter(const char* filter) {
    const QStringList parts = QString::fromLatin1(filter).split('|', Qt::SkipEmptyParts);
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
    return out.join(QStringLiteral(";;"));
}

// The busy pointer while a report gathers its data.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

}  // namespace

void SetReportDialogContext(TSettingsList* configSettings, const TScreenPort* screen) {
    contextSettings = configSettings;
    contextScreen = screen;
}

void RunReportDialog(TReportKind kind, QWidget* parent, uint32_t presetId) {
    TQuilletData* doc = TQuilletData::Current();
    if (!doc) return;
    TReportDialog dialog(kind, *doc, parent, presetId);
    dialog.exec();
}

// Each dialog owns its report source for its whole life.
struct TReportDialog::TReportHolder {
    TAccountLedgerReport accountLedger;
    TEnvelopeLedgerReport envelopeLedger;
    TAccountSummaryReport accountSummary;
    TEnvelopeSummaryReport envelopeSummary;
    TEnvelopeActivityReport envelopeActivity;
    TAllocationPlanReport allocationPlan;
};

TReportDialog::TReportDialog(TReportKind k, TQuilletData& doc, QWidget* parent, uint32_t presetId)
    : QDialog(parent), kind(k), document(doc), holder(std::make_unique<TReportHolder>()) {
    const TKindTexts texts = TextsOf(kind);
    setWindowTitle(QString::fromLatin1(texts.caption));
    setObjectName(QStringLiteral("reportDialog"));
    setAccessibleName(windowTitle());
    auto* layout = new QVBoxLayout(this);
    switch (kind) {
        case TReportKind::AccountLedger:
        case TReportKind::EnvelopeLedger:
        case TReportKind::EnvelopeActivity:
            BuildNodeList(presetId);
            layout->addWidget(nodes, 1);
            BuildDateRange();
            {
                auto* form = new QFormLayout;
                form->addRow(QStringLiteral("Date &Range:"), range);
                form->addRow(QStringLiteral("&From:"), from);
                form->addRow(QStringLiteral("&To:"), to);
                layout->addLayout(form);
            }
            if (kind == TReportKind::EnvelopeActivity) {
                auto* box = new QGroupBox(QStringLiteral("Columns:"), this);
                BuildColumns(box);
                layout->addWidget(box);
            } else {
                auto* filter = new QPushButton(QStringLiteral("Advanced Filter..."), this);
                NameControl(filter, "advancedFilter", filter->text());
                filter->setAutoDefault(false);
                connect(filter, &QPushButton::clicked, this, &TReportDialog::AdvancedFilter);
                layout->addWidget(filter, 0, Qt::AlignLeft);
            }
            if (kind == TReportKind::EnvelopeLedger) {
                oldFormat = NameControl(new QCheckBox(QStringLiteral("Use old format"), this),
                                        "oldFormat", QStringLiteral("Use old format"));
                oldFormat->setChecked(contextSettings &&
                                      LoadEnvelopeLedgerOldFormat(*contextSettings));
                layout->addWidget(oldFormat);
            }
            break;
        case TReportKind::AccountSummary:
            layout->addWidget(new QLabel(QStringLiteral("No details"), this));
            break;
        case TReportKind::EnvelopeSummary: {
            BuildNodeList(presetId);
            layout->addWidget(nodes, 1);
            size = NameControl(new QComboBox(this), "reportSize", QStringLiteral("Report Size"));
            for (const TFormSize& s : FormSizes)
                size->addItem(QString::fromLatin1(s.name), s.id);
            auto* form = new QFormLayout;
            form->addRow(QStringLiteral("Report  &Size"), size);
            layout->addLayout(form);
            break;
        }
        case TReportKind::AllocationPlan: {
            static const TPeriod periods;
            period = new TIdComboBox(this, "planPeriod", QStringLiteral("Select Plan Period"),
                                     periods, 1, Period::Monthly);
            period->SetId(Period::Monthly);
            auto* form = new QFormLayout;
            form->addRow(QStringLiteral("Select Plan Period"), period);
            layout->addLayout(form);
            break;
        }
    }
    BuildButtons();
}

TReportDialog::~TReportDialog() = default;

void TReportDialog::BuildNodeList(uint32_t presetId) {
    // The ledgers list what a ledger can be opened on; the summaries and the activity take the
    // whole tree, the root included, and start on it.
    if (kind == TReportKind::AccountLedger) {
        nodes = new TIdListBox(this, "reportNodes", QStringLiteral("Accounts"),
                               document.GetAccounts(), AccountListAccounts);
    } else {
        const uint32_t flags = kind == TReportKind::EnvelopeLedger
                                   ? ListEnvelopes | ListBundles | ListAssociations | ListIndented
                                   : ListAllButAliases | ListIndented;
        nodes = new TIdListBox(this, "reportNodes", QStringLiteral("Envelopes"),
                               document.GetEnvelopes(), flags);
    }
    nodes->SetId(presetId);
}

void TReportDialog::BuildDateRange() {
    range = NameControl(new QComboBox(this), "dateRange", QStringLiteral("Date Range"));
    for (const char* name : DateRangePresetNames)
        range->addItem(QString::fromLatin1(name));
    range->setCurrentIndex(static_cast<int>(TDateRangePreset::ThisMonth));
    from = new TEditDate(this, "fromDate", QStringLiteral("From"));
    to = new TEditDate(this, "toDate", QStringLiteral("To"));
    TDate first, last;
    ThisMonth(TDate::Today(), first, last);
    from->SetDate(first);
    to->SetDate(last);
    // A preset is applied each time it is picked, the same one again included.
    connect(range, &QComboBox::activated, this, [this](int index) {
        TDate first = from->GetDate(), last = to->GetDate();
        if (ApplyDateRangePreset(static_cast<TDateRangePreset>(index), TDate::Today(), first,
                                 last)) {
            from->SetDate(first);
            to->SetDate(last);
        } else {
            from->setFocus();
        }
    });
}

void TReportDialog::BuildColumns(QWidget* box) {
    const TEnvelopeActivityColumns stored =
        contextSettings ? LoadActivityColumns(*contextSettings) : TEnvelopeActivityColumns{};
    const bool ticked[8] = {stored.alloc, stored.expense, stored.transIn,  stored.transOut,
                            stored.allIn, stored.allOut,  stored.startBal, stored.endBal};
    auto* grid = new QGridLayout(box);
    for (int i = 0; i < 8; ++i) {
        const QString caption = QString::fromLatin1(ColumnBoxes[i]);
        columns[i] = new QCheckBox(caption, box);
        columns[i]->setObjectName(QStringLiteral("column%1").arg(i + 2));
        columns[i]->setAccessibleName(caption);
        columns[i]->setChecked(ticked[i]);
        grid->addWidget(columns[i], i / 4, i % 4);
    }
}

void TReportDialog::BuildButtons() {
    auto* row = new QHBoxLayout;
    auto add = [&](const char* text, const char* name, std::function<void()> work) {
        auto* button = new QPushButton(QString::fromLatin1(text), this);
        NameControl(button, name, button->text());
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, std::move(work));
        row->addWidget(button);
        return button;
    };
    add("&Print", "print", [this] { Print(); })->setDefault(true);
    add("Pre&view", "preview", [this] { Preview(); });
    add("Copy to Clipboard", "copy", [this] { CopyToClipboard(); });
    add("Export to File...", "export", [this] { Export(); });
    row->addStretch(1);
    add("Close", "close", [this] { reject(); });
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

uint32_t TReportDialog::SelectedNode() const {
    uint32_t id = 0;
    if (nodes) nodes->GetId(id);
    return id;
}

TEnvelopeActivityColumns TReportDialog::CheckedColumns() const {
    TEnvelopeActivityColumns c;
    bool* fields[8] = {&c.alloc, &c.expense, &c.transIn,  &c.transOut,
                       &c.allIn, &c.allOut,  &c.startBal, &c.endBal};
    for (int i = 0; i < 8; ++i)
        if (columns[i]) *fields[i] = columns[i]->isChecked();
    return c;
}

CFWEngine& TReportDialog::PreparedReport() {
    TWaitCursor wait;
    TReportHolder& h = *holder;
    switch (kind) {
        case TReportKind::AccountLedger:
            h.accountLedger.Prepare(document, {SelectedNode(), from->GetDate(), to->GetDate()});
            return h.accountLedger;
        case TReportKind::EnvelopeLedger:
            h.envelopeLedger.Prepare(document, {SelectedNode(), from->GetDate(), to->GetDate(),
                                                oldFormat && oldFormat->isChecked()});
            return h.envelopeLedger;
        case TReportKind::AccountSummary:
            h.accountSummary.Prepare(document);
            return h.accountSummary;
        case TReportKind::EnvelopeSummary:
            h.envelopeSummary.Prepare(document, {SelectedNode(), size->currentData().toUInt()});
            return h.envelopeSummary;
        case TReportKind::EnvelopeActivity:
            h.envelopeActivity.Prepare(
                document, {SelectedNode(), from->GetDate(), to->GetDate(), CheckedColumns()});
            return h.envelopeActivity;
        case TReportKind::AllocationPlan:
            h.allocationPlan.Prepare(document, {period->GetId()});
            return h.allocationPlan;
    }
    return h.accountSummary;
}

namespace {

// Hands the holder's report of the kind to use.
template <class Holder, class Use>
auto WithReport(Holder& h, TReportKind kind, Use use) -> decltype(use(h.accountSummary)) {
    switch (kind) {
        case TReportKind::AccountLedger:
            return use(h.accountLedger);
        case TReportKind::EnvelopeLedger:
            return use(h.envelopeLedger);
        case TReportKind::AccountSummary:
            return use(h.accountSummary);
        case TReportKind::EnvelopeSummary:
            return use(h.envelopeSummary);
        case TReportKind::EnvelopeActivity:
            return use(h.envelopeActivity);
        case TReportKind::AllocationPlan:
            return use(h.allocationPlan);
    }
    return {};
}

}  // namespace

std::string TReportDialog::FileText() {
    PreparedReport();
    return WithReport(*holder, kind, [](const auto& report) { return report.GetFileText(); });
}

TClipboardContent TReportDialog::ClipboardContent() {
    PreparedReport();
    return WithReport(*holder, kind, [](const auto& report) { return report.GetClipboard(); });
}

bool TReportDialog::ExportTo(const QString& path) {
    const std::string bytes = FileText();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()))
        return false;
    return file.flush();
}

bool TReportDialog::CopyToClipboard() {
    const TClipboardContent content = ClipboardContent();
    auto* data = new QMimeData;
    data->setText(FromWindows1252(content.text));
    if (!content.extraFormat.empty()) {
        // A format registered by name travels under the name Qt gives such formats.
        data->setData(QStringLiteral("application/x-qt-windows-mime;value=\"%1\"")
                          .arg(QString::fromLatin1(content.extraFormat.c_str())),
                      QByteArray::fromStdString(content.extraBytes));
    }
    QApplication::clipboard()->setMimeData(data);
    return true;
}

void TReportDialog::Print() {
    CFWEngine& report = PreparedReport();
    setEnabled(false);
    TQtFormPrinter printer(parentWidget() ? parentWidget() : this);
    report.Print(printer);
    setEnabled(true);
    activateWindow();
    setFocus();
}

void TReportDialog::Preview() {
    CFWEngine& report = PreparedReport();
    setEnabled(false);
    RunFormPreview(this, report, contextSettings, ContextScreen());
    setEnabled(true);
    activateWindow();
}

void TReportDialog::Export() {
    QFileDialog chooser(this, QString::fromLatin1(TextsOf(kind).exportTitle), QString(),
                        QtFilter(ReportExport::Filter));
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setDefaultSuffix(QString::fromLatin1(ReportExport::DefaultExtension));
    chooser.selectFile(QString::fromLatin1(ReportExport::InitialName));
    if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return;
    const QString path = chooser.selectedFiles().first();
    if (!path.isEmpty() && !ExportTo(path))
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("\"%1\" cannot be written.").arg(path));
    activateWindow();
}

void TReportDialog::AdvancedFilter() {
    if (kind == TReportKind::AccountLedger)
        holder->accountLedger.Filter().Edit();
    else if (kind == TReportKind::EnvelopeLedger)
        holder->envelopeLedger.Filter().Edit();
}

void TReportDialog::done(int result) {
    if (contextSettings) {
        if (kind == TReportKind::EnvelopeLedger)
            StoreEnvelopeLedgerOldFormat(*contextSettings, oldFormat->isChecked());
        if (kind == TReportKind::EnvelopeActivity)
            StoreActivityColumns(*contextSettings, CheckedColumns());
    }
    QDialog::done(result);
}
