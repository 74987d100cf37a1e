// The dialogs and windows the account tree asks for, as a port: the tree fills a transfer
// buffer, the port runs the dialog, the tree reads the buffer back. The program implements it
// with real dialogs and windows, the tests with scripted answers. Every dialog call returns true
// on OK and changes its buffer only then.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/PortSlot.h"

class TIdObjectList;

// Asked when OK is pressed, with the name as typed. It tells the user why a name is refused
// (through the UI port); on false the dialog stays open with the focus in the name field.
using TAccountNameCheck = std::function<bool(const std::string& name)>;

// "Edit Account Properties"
struct TAccountBuffer {
    std::string name;              // "Name", at most 31 characters
    uint32_t kind = 1;             // "Type of Account": an id of TAccountTypeList
    uint32_t defaultEnvelope = 0;  // "Default Envelope": an envelope id, 0 for none
    std::string description;       // "Description", at most 1023 characters
    // The envelope names for the drop-down list; null when no budget is open.
    const TIdObjectList* envelopes = nullptr;
    TAccountNameCheck checkName;
};

// "Edit Account Group Properties"
struct TAccountGroupBuffer {
    std::string name;
    std::string description;
    TAccountNameCheck checkName;
};

// "Edit Account Root Properties": the name only.
struct TAccountRootBuffer {
    std::string name;
    TAccountNameCheck checkName;
};

// "Select Account", shown with the caption in the buffer.
struct TChooseAccountBuffer {
    std::string caption;
    std::vector<std::string> names;
    int selected = -1;  // 0-based; -1 for no selection, in and out
};

class TAccountDialogPort {
public:
    virtual ~TAccountDialogPort() = default;
    virtual bool EditAccount(TAccountBuffer& buffer) = 0;
    virtual bool EditAccountGroup(TAccountGroupBuffer& buffer) = 0;
    virtual bool EditAccountRoot(TAccountRootBuffer& buffer) = 0;
    virtual bool ChooseAccount(TChooseAccountBuffer& buffer) = 0;
};

// The port in use; never null (until one is set, every dialog is cancelled and nothing opens).
extern TPortSlot<TAccountDialogPort> AccountDialogs;
