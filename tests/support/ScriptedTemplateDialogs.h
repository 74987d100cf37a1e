// The transaction templates' dialog port for tests.
#pragma once

#include <functional>
#include <vector>

#include "core/ScreenPort.h"
#include "core/SettingsList.h"
#include "plan/TemplateDialogs.h"

class TScriptedTemplateDialogs : public TTemplateDialogPort {
public:
    TFixedScreen screen{1920, 1080};
    TSettingsList settings;
    std::vector<TXTemplateDialogBuffer> opened;  // as each dialog opened
    std::function<void(TXTemplateDialogBuffer&)> edit = [](TXTemplateDialogBuffer&) {};
    std::function<void(TManagedListDialog&)> manage = [](TManagedListDialog&) {};

    void EditTemplate(TXTemplateDialogBuffer& b) override {
        opened.push_back(b);
        edit(b);
    }
    void ManageList(TManagedListDialog& d) override { manage(d); }
    const TScreenPort& Screen() const override { return screen; }
    TSettingsList* ConfigSettings() override { return &settings; }

private:
    TPortInstall<TTemplateDialogPort> installed{TemplateDialogs, *this};
};
