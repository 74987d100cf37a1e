// The account tree's dialogs as Qt dialogs: the property forms of accounts, groups and the root
// (also the forms of the New commands) and the "Select Account" chooser. Each edits a copy of
// its buffer and hands it back only on OK.
#pragma once

#include "accounts/AccountDialogs.h"

class QWidget;

class TAccountDialogsQt : public TAccountDialogPort {
public:
    explicit TAccountDialogsQt(QWidget* parent) : parent(parent) {}

    bool EditAccount(TAccountBuffer& buffer) override;
    bool EditAccountGroup(TAccountGroupBuffer& buffer) override;
    bool EditAccountRoot(TAccountRootBuffer& buffer) override;
    bool ChooseAccount(TChooseAccountBuffer& buffer) override;

private:
    QWidget* parent;
};
