// The new-account wizard's port for tests.
#pragma once

#include <deque>
#include <utility>
#include <vector>

#include "accounts/NewAccountWizard.h"

// Presses the buttons of a queue, filling the form first when a page is given.
class TScriptedWizard : public TAccountWizardPort {
public:
    std::deque<std::pair<TAccountWizardButton, TAccountWizardBuffer>> pages;
    std::vector<TAccountWizardBuffer> seen;
    TAccountWizardButton RunPage(TAccountWizardBuffer& buffer) override {
        seen.push_back(buffer);
        if (pages.empty()) return TAccountWizardButton::Cancel;
        auto [button, form] = pages.front();
        pages.pop_front();
        buffer = form;
        return button;
    }

private:
    TPortInstall<TAccountWizardPort> installed{AccountWizardDialog, *this};
};
