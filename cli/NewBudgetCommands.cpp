// new, plan and demo: making a budget from nothing and reading its allocation plan.
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <iostream>

#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "app/BudgetFile.h"
#include "app/NewBudget.h"
#include "cli/BudgetWriter.h"
#include "cli/Commands.h"
#include "core/QuilletData.h"
#include "envelopes/EnvelopeDialogs.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeNode.h"
#include "envelopes/EnvelopeRoot.h"
#include "plan/Period.h"
#include "reports/AllocationPlanReport.h"
#include "transactions/Transfers.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"

namespace {

int Usage(const char* command, const char* arguments) {
    std::cerr << "usage: quillet-cli " << command << " " << arguments << "\n";
    return 2;
}

int Refuse(const char* command, const std::string& why) {
    std::cerr << "quillet-cli " << command << ": " << why << "\n";
    return 2;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

// A plain decimal number, optionally signed, with nothing after it.
bool ParseNumber(const std::string& text, double& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text.front()))) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return errno == 0 && end && *end == '\0' && value == value;
}

bool SameNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// "NAME;KIND;CLOSING-BALANCE;M/D/Y" into a wizard form; false with the reason.
bool ParseAccount(const std::string& text, TAccountWizardBuffer& form, std::string& error) {
    std::vector<std::string> f = Split(text, ';');
    if (f.size() != 4) {
        error = "an account is NAME;KIND;CLOSING-BALANCE;M/D/Y, not \"" + text + "\"";
        return false;
    }
    if (f[0].empty() || f[0].size() > TAccountWizardBuffer::NameChars) {
        error = "an account name has 1 to 31 characters: \"" + f[0] + "\"";
        return false;
    }
    form.name = f[0];
    form.kind = 0;
    std::string kinds;
    for (uint32_t id = 1; TAccountTypeList::KindName(id); ++id) {
        if (SameNoCase(f[1], TAccountTypeList::KindName(id))) form.kind = id;
        kinds += std::string(id > 1 ? ", " : "") + TAccountTypeList::KindName(id);
    }
    if (!form.kind) {
        error = "unknown account kind \"" + f[1] + "\" (one of " + kinds + ")";
        return false;
    }
    std::string digits;
    for (char c : f[2])
        if (c != ',') digits += c;
    double balance = 0;
    if (!ParseNumber(digits, balance)) {
        error = "the closing balance \"" + f[2] + "\" is not a number";
        return false;
    }
    form.closingBalance = static_cast<float>(balance);
    form.closingDate = TDate::Parse(f[3], TDate::Today().Year());
    if (f[3].empty() || !form.closingDate.IsValid()) {
        error = "the closing date \"" + f[3] + "\" is not a date M/D/Y";
        return false;
    }
    return true;
}

}  // namespace

int RunNewCommand(const TCommandArgs& args) {
    constexpr const char* Arguments =
        "FILE.qlt (--income A[,B[,C[,D]]] | --plan PLANFILE) --account "
        "\"NAME;KIND;CLOSING-BALANCE;M/D/Y\" [--account ...]";
    if (args.empty() || args[0].rfind("--", 0) == 0) return Usage("new", Arguments);
    TNewBudgetInput input;
    bool incomes = false, plan = false;
    for (size_t i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) return Usage("new", Arguments);
        const std::string& option = args[i];
        const std::string& value = args[i + 1];
        std::string error;
        if (option == "--income" && !incomes) {
            incomes = true;
            std::vector<std::string> parts = Split(value, ',');
            if (parts.size() > 4) return Refuse("new", "at most four incomes");
            for (size_t k = 0; k < parts.size(); ++k) {
                double amount = 0;
                if (!ParseNumber(parts[k], amount) || amount < 0 || amount >= 1e9)
                    return Refuse("new", "the income \"" + parts[k] + "\" is not an amount");
                input.plan.incomes[k] = static_cast<float>(amount);
            }
        } else if (option == "--plan" && !plan) {
            plan = true;
            input.plan.definitionPath = value;
        } else if (option == "--account") {
            TAccountWizardBuffer form;
            if (!ParseAccount(value, form, error)) return Refuse("new", error);
            input.accounts.push_back(form);
        } else {
            return Usage("new", Arguments);
        }
    }
    if (incomes == plan || input.accounts.empty()) return Usage("new", Arguments);
    if (plan && input.plan.definitionPath.empty()) return Refuse("new", "no plan file given");

    TBudgetWriter writer("new", args[0]);
    if (!writer.Lock()) return 1;
    std::string error;
    if (!CreateNewBudgetFile(input, args[0], writer.Platform(), error)) {
        std::cerr << "quillet-cli new: " << args[0] << ": " << error << "\n";
        return 1;
    }
    return 0;
}

int RunPlanCommand(const TCommandArgs& args) {
    constexpr const char* Arguments = "FILE.qlt [--period NAME]";
    if (args.size() != 1 && !(args.size() == 3 && args[1] == "--period"))
        return Usage("plan", Arguments);
    uint32_t period = Period::Monthly;
    if (args.size() == 3) {
        period = TPeriod().FindId(args[2]);
        if (period == Period::None) {
            std::string names;
            for (uint32_t p = 1; p < Period::Count; ++p)
                names += std::string(p > 1 ? ", " : "") + PeriodNames[p];
            return Refuse("plan", "unknown period \"" + args[2] + "\" (one of " + names + ")");
        }
    }
    std::string error;
    std::unique_ptr<TQuilletData> doc = LoadBudgetFile(args[0], error);
    if (!doc) {
        std::cerr << "quillet-cli plan: " << error << "\n";
        return 2;
    }
    TCurrentDocument current(*doc);
    // The allocation plan report's own text, so the two never disagree.
    TAllocationPlanReport report;
    report.Prepare(*doc, {period});
    std::cout << report.GetText();
    return 0;
}
