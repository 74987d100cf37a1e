// The allocation plan's dialog port for tests.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/ScreenPort.h"
#include "core/SettingsList.h"
#include "plan/PlanDialogs.h"

class TScriptedPlanDialogs : public TPlanDialogPort {
public:
    // What the user does in "Edit Allocation Plan"; its result is "Save and Close".
    std::function<bool(TPlanDialogBuffer&)> edit = [](TPlanDialogBuffer&) { return false; };
    bool incomeOk = false;
    TMonthlyIncomeBuffer incomes;
    std::deque<std::string> names;  // "Edit String" answers; cancelled when empty
    int choice = -1;                // "Select Template"; -1 cancels
    TSettingsList settings;
    TFixedScreen screen{1000, 700};
    TPlanDialogBuffer opened;
    std::vector<TChooseTemplateBuffer> chooserShown;

    bool EditPlan(TPlanDialogBuffer& b) override {
        opened = b;
        return edit(b);
    }
    bool EnterMonthlyIncome(TMonthlyIncomeBuffer& b) override {
        if (incomeOk) b = incomes;
        return incomeOk;
    }
    bool GetString(TStringEntryBuffer& b) override {
        if (names.empty()) return false;
        b.text = names.front();
        names.pop_front();
        return true;
    }
    bool ChooseTemplate(TChooseTemplateBuffer& b) override {
        chooserShown.push_back(b);
        b.selected = choice;
        return choice >= 0;
    }
    const TScreenPort& Screen() const override { return screen; }
    TSettingsList* ConfigSettings() override { return &settings; }

private:
    TPortInstall<TPlanDialogPort> installed{PlanDialogs, *this};
};
