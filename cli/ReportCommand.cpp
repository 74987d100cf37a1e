// report: one of the six reports written to standard output exactly as "Export to File..."
// writes it (or, with --clipboard, as "Copy to Clipboard" puts it), the dialog's choices taken
// from the command line.
#include <cstdio>
#include <iostream>
#include <memory>
#include <sstream>

#include "accounts/AccountList.h"
#include "app/BudgetFile.h"
#include "app/NewBudget.h"
#include "app/QuilletConfig.h"
#include "cli/Commands.h"
#include "core/QuilletData.h"
#include "core/Text.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "plan/Period.h"
#include "platform/Platform.h"
#include "reports/AccountLedgerReport.h"
#include "reports/AccountSummaryReport.h"
#include "reports/AllocationPlanReport.h"
#include "reports/EnvelopeActivityReport.h"
#include "reports/EnvelopeLedgerReport.h"
#include "reports/EnvelopeSummaryReport.h"
#include "reports/qt/FormPdf.h"

namespace {

constexpr const char* Usage =
    "usage: quillet-cli report KIND FILE.qlt [OPTIONS]\n"
    "  KIND: account-ledger, envelope-ledger, account-summary, envelope-summary,\n"
    "        envelope-activity, allocation-plan\n"
    "  --account NAME       the account (account-ledger)\n"
    "  --envelope NAME      the envelope, bundle or association (envelope-ledger; the\n"
    "                       summary and the activity default to every envelope)\n"
    "  --from M/D/Y         first day (ledgers, envelope-activity; default: this month)\n"
    "  --to M/D/Y           last day (default: the last day of this month)\n"
    "  --columns LIST       envelope-activity columns, of alloc,expense,xin,xout,allin,\n"
    "                       allout,start,end (default: the configuration's)\n"
    "  --period NAME        allocation-plan period (default: Monthly)\n"
    "  --size N             envelope-summary size, 1 to 6 (default: 1)\n"
    "  --clipboard          the clipboard text instead of the file\n"
    "  --old-format         with --clipboard, the envelope ledger's old layout\n"
    "  --pdf OUT.pdf        the printed form as a PDF file, one page per report page\n";

int UsageError(const std::string& why) {
    std::cerr << "quillet-cli report: " << why << "\n" << Usage;
    return 2;
}

int Refuse(const std::string& why) {
    std::cerr << "quillet-cli report: " << why << "\n";
    return 2;
}

enum class TKind {
    AccountLedger,
    EnvelopeLedger,
    AccountSummary,
    EnvelopeSummary,
    EnvelopeActivity,
    AllocationPlan
};

struct TKindName {
    const char* name;
    TKind kind;
};
constexpr TKindName Kinds[] = {
    {"account-ledger", TKind::AccountLedger},       {"envelope-ledger", TKind::EnvelopeLedger},
    {"account-summary", TKind::AccountSummary},     {"envelope-summary", TKind::EnvelopeSummary},
    {"envelope-activity", TKind::EnvelopeActivity}, {"allocation-plan", TKind::AllocationPlan},
};

struct TOptions {
    std::string account, envelope, from, to, columns, period, size, pdf;
    bool haveAccount = false, haveEnvelope = false, haveFrom = false, haveTo = false;
    bool haveColumns = false, havePeriod = false, haveSize = false, havePdf = false;
    bool clipboard = false, oldFormat = false;
};

bool ParseDate(const std::string& text, TDate& date) {
    date = TDate::Parse(text, TDate::Today().Year());
    return !date.IsEmpty() && date.IsValid();
}

// The boxes named in a comma-separated list; false names the first unknown one.
bool ParseColumns(const std::string& list, TEnvelopeActivityColumns& columns, std::string& bad) {
    columns = TEnvelopeActivityColumns{false, false, false, false, false, false, false, false};
    std::stringstream in(list);
    std::string name;
    while (std::getline(in, name, ',')) {
        if (name == "alloc")
            columns.alloc = true;
        else if (name == "expense")
            columns.expense = true;
        else if (name == "xin")
            columns.transIn = true;
        else if (name == "xout")
            columns.transOut = true;
        else if (name == "allin")
            columns.allIn = true;
        else if (name == "allout")
            columns.allOut = true;
        else if (name == "start")
            columns.startBal = true;
        else if (name == "end")
            columns.endBal = true;
        else if (!name.empty()) {
            bad = name;
            return false;
        }
    }
    return true;
}

void WriteBytes(const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

}  // namespace

int RunReportCommand(const TCommandArgs& args) {
    std::vector<std::string> positional;
    TOptions o;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into, bool& seen) {
            return TakeOptionValue(args, i, into, seen);
        };
        bool ok = true;
        if (a == "--account")
            ok = value(o.account, o.haveAccount);
        else if (a == "--envelope")
            ok = value(o.envelope, o.haveEnvelope);
        else if (a == "--from")
            ok = value(o.from, o.haveFrom);
        else if (a == "--to")
            ok = value(o.to, o.haveTo);
        else if (a == "--columns")
            ok = value(o.columns, o.haveColumns);
        else if (a == "--period")
            ok = value(o.period, o.havePeriod);
        else if (a == "--size")
            ok = value(o.size, o.haveSize);
        else if (a == "--pdf")
            ok = value(o.pdf, o.havePdf);
        else if (a == "--clipboard")
            o.clipboard = true;
        else if (a == "--old-format")
            o.oldFormat = true;
        else if (a == "--help") {
            std::cout << Usage;
            return 0;
        } else if (a.size() > 1 && a[0] == '-')
            return UsageError("unknown option '" + a + "'");
        else
            positional.push_back(a);
        if (!ok) return UsageError(a + " needs a value");
    }
    if (positional.size() != 2) return UsageError("a report kind and a budget file are needed");

    const TKindName* kindName = nullptr;
    for (const TKindName& k : Kinds)
        if (positional[0] == k.name) kindName = &k;
    if (!kindName) return UsageError("unknown report '" + positional[0] + "'");
    const TKind kind = kindName->kind;

    // Options that the chosen report has no use for are refused rather than ignored.
    const bool ledger = kind == TKind::AccountLedger || kind == TKind::EnvelopeLedger;
    const bool dated = ledger || kind == TKind::EnvelopeActivity;
    const bool byEnvelope = kind == TKind::EnvelopeLedger || kind == TKind::EnvelopeSummary ||
                            kind == TKind::EnvelopeActivity;
    auto misplaced = [&](bool given, bool allowed, const char* option) {
        return given && !allowed ? std::string(option) + " does not apply to " + kindName->name
                                 : std::string();
    };
    for (std::string why : {misplaced(o.haveAccount, kind == TKind::AccountLedger, "--account"),
                            misplaced(o.haveEnvelope, byEnvelope, "--envelope"),
                            misplaced(o.haveFrom || o.haveTo, dated, "--from/--to"),
                            misplaced(o.haveColumns, kind == TKind::EnvelopeActivity, "--columns"),
                            misplaced(o.havePeriod, kind == TKind::AllocationPlan, "--period"),
                            misplaced(o.haveSize, kind == TKind::EnvelopeSummary, "--size"),
                            misplaced(o.oldFormat, kind == TKind::EnvelopeLedger, "--old-format")})
        if (!why.empty()) return UsageError(why);
    if (o.havePdf && o.clipboard) return UsageError("--pdf and --clipboard exclude each other");
    if (o.oldFormat && !o.clipboard)
        return UsageError("--old-format is a clipboard layout; add --clipboard");
    if (kind == TKind::AccountLedger && !o.haveAccount) return UsageError("--account is required");
    if (kind == TKind::EnvelopeLedger && !o.haveEnvelope)
        return UsageError("--envelope is required");

    TDate from, to;
    ThisMonth(TDate::Today(), from, to);
    if (o.haveFrom && !ParseDate(o.from, from))
        return Refuse("'" + o.from + "' is not a date (M/D/Y)");
    if (o.haveTo && !ParseDate(o.to, to)) return Refuse("'" + o.to + "' is not a date (M/D/Y)");

    uint32_t period = Period::Monthly;
    if (o.havePeriod) {
        period = TPeriod().FindId(o.period);
        if (period == Period::None) {
            std::string names;
            for (uint32_t p = 1; p < Period::Count; ++p)
                names += std::string(p > 1 ? ", " : "") + PeriodNames[p];
            return Refuse("unknown period \"" + o.period + "\" (one of " + names + ")");
        }
    }
    uint32_t size = 1;
    if (o.haveSize) {
        if (o.size.size() != 1 || !FindFormSize(o.size[0] - '0'))
            return Refuse("--size must be 1 to 6");
        size = static_cast<uint32_t>(o.size[0] - '0');
    }
    TEnvelopeActivityColumns columns;
    if (o.haveColumns) {
        std::string bad;
        if (!ParseColumns(o.columns, columns, bad)) return Refuse("unknown column '" + bad + "'");
    } else if (kind == TKind::EnvelopeActivity) {
        TLinuxPlatform platform;
        TFixedScreen screen(1920, 1080);
        TConfigFile config(platform, screen);
        config.FindPath();
        config.Load();  // on failure the defaults stand
        columns = LoadActivityColumns(config.Settings());
    }

    const std::string& budgetPath = positional[1];
    std::string error;
    std::unique_ptr<TQuilletData> doc = LoadBudgetFile(budgetPath, error);
    if (!doc) return Refuse(budgetPath + ": " + error);
    // The column texts of the records name accounts and envelopes of the open document.
    TCurrentDocument current(*doc);

    // Names in the budget are Windows-1252; the command line is UTF-8.
    uint32_t account = 0, envelope = 0;
    if (o.haveAccount) {
        account = doc->GetAccounts().FindId(Utf8ToCp1252(o.account));
        if (!doc->GetAccounts().GetAccount(account))
            return Refuse("no account named \"" + o.account + "\"");
    }
    if (o.haveEnvelope) {
        envelope = doc->GetEnvelopes().FindId(Utf8ToCp1252(o.envelope));
        if (!doc->GetEnvelopes().FindById(envelope) || envelope == 0)
            return Refuse("no envelope, bundle or association named \"" + o.envelope + "\"");
    } else {
        envelope = doc->GetEnvelopes().GetEnvelopeRoot()->GetId();
    }

    auto emit = [&](auto& report) {
        if (!o.havePdf) {
            WriteBytes(o.clipboard ? report.GetClipboard().text : report.GetFileText());
            return 0;
        }
        if (report.GetPageCount() < 1) {
            std::cerr << "quillet-cli report: the report has no pages; no PDF was written\n";
            return 1;
        }
        int status = WriteFormPdf(report, o.pdf);
        if (status == FormOk) return 0;
        if (status == FormFileFailed) return Refuse(o.pdf + ": the PDF file cannot be written");
        return Refuse("the page template is missing or damaged (status " + std::to_string(status) +
                      ")");
    };
    switch (kind) {
        case TKind::AccountLedger: {
            TAccountLedgerReport report;
            report.Prepare(*doc, {account, from, to});
            return emit(report);
        }
        case TKind::EnvelopeLedger: {
            TEnvelopeLedgerReport report;
            report.Prepare(*doc, {envelope, from, to, o.oldFormat});
            return emit(report);
        }
        case TKind::AccountSummary: {
            TAccountSummaryReport report;
            report.Prepare(*doc);
            return emit(report);
        }
        case TKind::EnvelopeSummary: {
            TEnvelopeSummaryReport report;
            report.Prepare(*doc, {envelope, size});
            return emit(report);
        }
        case TKind::EnvelopeActivity: {
            TEnvelopeActivityReport report;
            report.Prepare(*doc, {envelope, from, to, columns});
            return emit(report);
        }
        case TKind::AllocationPlan: {
            TAllocationPlanReport report;
            report.Prepare(*doc, {period});
            return emit(report);
        }
    }
    return 1;
}
