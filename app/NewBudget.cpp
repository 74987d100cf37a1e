#include "app/NewBudget.h"

#include <fstream>

#include "app/BudgetFile.h"
#include "core/QuilletData.h"

TCurrentDocument::TCurrentDocument(TQuilletData& doc) : previous(TQuilletData::Current()) {
    TQuilletData::SetCurrent(&doc);
}

TCurrentDocument::~TCurrentDocument() {
    TQuilletData::SetCurrent(previous);
}

std::unique_ptr<TQuilletData> CreateNewBudget(const std::string& planDefinitionPath) {
    auto doc = std::make_unique<TQuilletData>();
    TQuilletData::SetCurrent(doc.get());
    if (!doc->GetPlan().SetUpNewPlan(planDefinitionPath) || !TAccountWizard(*doc).Run()) {
        TQuilletData::SetCurrent(nullptr);
        return nullptr;
    }
    return doc;
}

bool CreateNewBudgetFile(const TNewBudgetInput& input, const std::string& path,
                         TPlatformPort& platform, std::string& error) {
    if (path.empty()) {
        error = "no file name given";
        return false;
    }
    // A new budget never replaces one that exists: that is what opening it is for.
    if (std::ifstream(path, std::ios::binary).is_open()) {
        error = "already exists; a new budget does not replace it";
        return false;
    }
    TQuilletData doc;
    TCurrentDocument current(doc);
    if (!doc.GetPlan().SetUpNewPlanHeadless(input.plan)) {
        error = "the plan definition \"" + input.plan.definitionPath + "\" cannot be read";
        return false;
    }
    if (!AddAccountsHeadless(doc, input.accounts, error)) return false;
    return SaveBudgetFile(doc, path, platform, error);
}
