// The allocation plan's dialogs on Qt: "Edit Allocation Plan", "Enter Monthly Income", and (over
// the common controls) "Edit String" and "Select Template". The plan dialog works on the plan,
// which keeps its edits only on "Save and Close"; each other dialog edits a copy of its buffer,
// copied back only on OK.
#pragma once

#include <QDialog>
#include <array>

#include "plan/PlanDialogs.h"

class TEditFloat;
class TScreenPort;

// "Enter Monthly Income": four amount fields.
class TMonthlyIncomeDialog : public QDialog {
    Q_OBJECT

public:
    explicit TMonthlyIncomeDialog(const TMonthlyIncomeBuffer& buffer, QWidget* parent = nullptr);
    TMonthlyIncomeBuffer Buffer() const;

private:
    std::array<TEditFloat*, 4> incomes{};
};

class TPlanDialogsQt : public TPlanDialogPort {
public:
    // The dialogs open over parent; screen and settings are the program's, settings may be null.
    TPlanDialogsQt(QWidget* parent, const TScreenPort& screen, TSettingsList* settings = nullptr)
        : parent(parent), screen(screen), settings(settings) {}

    bool EditPlan(TPlanDialogBuffer& buffer) override;
    bool EnterMonthlyIncome(TMonthlyIncomeBuffer& buffer) override;
    bool GetString(TStringEntryBuffer& buffer) override;
    bool ChooseTemplate(TChooseTemplateBuffer& buffer) override;

    const TScreenPort& Screen() const override { return screen; }
    TSettingsList* ConfigSettings() override { return settings; }

private:
    QWidget* parent;
    const TScreenPort& screen;
    TSettingsList* settings;
};
