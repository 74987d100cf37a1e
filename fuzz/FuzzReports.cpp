// Any bytes given as a budget file: when they make a document, each of the six reports prepares
// its data, builds its texts and lays out its first pages on every form without a crash, however
// damaged the trees, ids and amounts inside.
// sources: @domain
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "accounts/AccountList.h"
#include "app/BudgetFile.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "reports/AccountLedgerReport.h"
#include "reports/AccountSummaryReport.h"
#include "reports/AllocationPlanReport.h"
#include "reports/EnvelopeActivityReport.h"
#include "reports/EnvelopeLedgerReport.h"
#include "reports/EnvelopeSummaryReport.h"
#include "reports/FormEngine.h"

namespace {

// Every form as a sheet of twelve field rectangles, enough for the largest form.
class TGridLoader : public TTemplateLoader {
public:
    int LoadResource(uint16_t, std::shared_ptr<const TFormTemplate>& out) override {
        auto form = std::make_shared<TFormTemplate>();
        form->records.push_back({TTemplateRecordKind::WindowExtent, {{2550, 3300}}});
        for (int i = 0; i < 12; ++i) {
            int32_t top = 100 + i * 260;
            form->records.push_back(
                {TTemplateRecordKind::Rectangle, {{100, top}, {2400, top + 250}}});
        }
        out = form;
        return FormOk;
    }
    int LoadFile(const std::string&, std::shared_ptr<const TFormTemplate>&) override {
        return FormFileFailed;
    }
};

void LayOut(CFWEngine& report) {
    TGridLoader loader;
    const int pages = report.GetPageCount();
    for (int page = 1; page <= pages && page <= 3; ++page) {
        TFormRecording canvas;
        report.BuildPage(page, loader, canvas);
    }
    char title[129];
    report.GetTitle(title, sizeof title);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    std::string error;
    std::unique_ptr<TQuilletData> doc = ReadBudget(bytes, error);
    if (!doc) return 0;
    TQuilletData::SetCurrent(doc.get());
    const TDate from(1, 1, 2000), to(31, 12, 2030);
    const uint32_t account = doc->GetAccounts().GetAccountIdByIndex(1);
    TEnvelopeRoot* root = doc->GetEnvelopes().GetEnvelopeRoot();
    const uint32_t node = root ? root->GetId() : 0;
    {
        TAccountLedgerReport report;
        report.Prepare(*doc, {account, from, to});
        report.GetFileText();
        report.GetClipboard();
        LayOut(report);
    }
    {
        TEnvelopeLedgerReport report;
        report.Prepare(*doc, {node, from, to, true});
        report.GetFileText();
        report.GetClipboard();
        LayOut(report);
    }
    {
        TAccountSummaryReport report;
        report.Prepare(*doc);
        report.GetFileText();
        LayOut(report);
    }
    {
        TEnvelopeActivityReport report;
        TEnvelopeActivityColumns all{true, true, true, true, true, true, true, true};
        report.Prepare(*doc, {node, from, to, all});
        report.GetFileText();
        LayOut(report);
    }
    for (uint32_t formSize = 1; formSize <= 6; ++formSize) {
        TEnvelopeSummaryReport report;
        report.Prepare(*doc, {node, formSize});
        report.GetFileText();
        LayOut(report);
    }
    for (uint32_t period : {1u, 4u, 9u}) {
        TAllocationPlanReport report;
        report.Prepare(*doc, {period});
        report.GetFileText();
        LayOut(report);
    }
    TQuilletData::SetCurrent(nullptr);
    return 0;
}
