#include "plan/PlanDialogs.h"

#include "core/QuilletOptions.h"

const TScreenPort& TPlanDialogPort::Screen() const {
    static const TFixedScreen screen;
    return screen;
}

namespace {

// Used until the program sets its own: a headless run must never change the plan through a
// dialog nobody saw.
class TCancellingPlanDialogs : public TPlanDialogPort {
public:
    bool EditPlan(TPlanDialogBuffer&) override { return false; }
    bool EnterMonthlyIncome(TMonthlyIncomeBuffer&) override { return false; }
    bool GetString(TStringEntryBuffer&) override { return false; }
    bool ChooseTemplate(TChooseTemplateBuffer&) override { return false; }
};

TCancellingPlanDialogs cancelling;

}  // namespace

TPortSlot<TPlanDialogPort> PlanDialogs(cancelling);
