// The six report dialogs: what to report (an account, an envelope-tree node, a date range, the
// activity columns, a plan period, a summary size) and the four ways out: "&Print", "Pre&view",
// "Copy to Clipboard" and "Export to File...". The reports themselves build the pages and the
// texts; a dialog reads its controls into the report's buffer and hands the result on.
#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <string>

#include "reports/ReportText.h"

class CFWEngine;
class QCheckBox;
class QComboBox;
class TEditDate;
class TIdComboBox;
class TIdListBox;
class TQuilletData;
class TScreenPort;
class TSettingsList;

enum class TReportKind {
    AccountLedger,
    EnvelopeLedger,
    AccountSummary,
    EnvelopeSummary,
    EnvelopeActivity,
    AllocationPlan
};

// What every report dialog shares with the program: the configuration's settings (the stored
// options and the preview's size; may be null) and the screen the preview's size is taken from.
// The program sets it once; until then nothing is remembered and the screen is 1920 x 1080.
void SetReportDialogContext(TSettingsList* configSettings, const TScreenPort* screen);

// Runs the dialog of one report over the open budget, modal over parent. presetId selects the
// account (account ledger) or the envelope-tree node (envelope reports) the list starts on; 0
// keeps the dialog's own choice. Does nothing when no budget is open.
void RunReportDialog(TReportKind kind, QWidget* parent, uint32_t presetId = 0);

class TReportDialog : public QDialog {
    Q_OBJECT

public:
    TReportDialog(TReportKind kind, TQuilletData& document, QWidget* parent = nullptr,
                  uint32_t presetId = 0);
    ~TReportDialog() override;

    TReportKind Kind() const { return kind; }

    // The buttons' work, also reachable without the file and print dialogs.
    // Writes the report's text to path, replacing the file; false when it cannot be written.
    bool ExportTo(const QString& path);
    // Puts the report's text (and the old format's block) on the clipboard; false after the
    // message that the clipboard cannot take it.
    bool CopyToClipboard();
    // The report, prepared from the controls as they stand.
    CFWEngine& PreparedReport();

protected:
    void done(int result) override;

private:
    struct TReportHolder;

    TReportKind kind;
    TQuilletData& document;
    std::unique_ptr<TReportHolder> holder;

    TIdListBox* nodes = nullptr;
    QComboBox* range = nullptr;
    TEditDate* from = nullptr;
    TEditDate* to = nullptr;
    QCheckBox* oldFormat = nullptr;
    TIdComboBox* period = nullptr;
    QComboBox* size = nullptr;
    QCheckBox* columns[8] = {};

    void BuildNodeList(uint32_t presetId);
    void BuildDateRange();
    void BuildColumns(QWidget* box);
    void BuildButtons();
    uint32_t SelectedNode() const;
    TEnvelopeActivityColumns CheckedColumns() const;
    // Prepares the report and gives back its text for the file and for the clipboard.
    std::string FileText();
    TClipboardContent ClipboardContent();

    void Print();
    void Preview();
    void Export();
    void AdvancedFilter();
};
