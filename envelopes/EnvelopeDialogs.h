// The dialogs of the envelope tree, as a port: the tree fills a transfer buffer, the port runs
// the dialog, the tree reads the buffer back. The program implements it with real dialogs, the
// tests with scripted answers. Every call returns true on OK; a dialog edits its buffer only
// when the user confirms.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/PortSlot.h"

// Asked when OK is pressed in a property dialog, with the name as typed. It tells the user why a
// name is refused (through the UI port); on false the dialog must stay open with the focus in
// the name field.
using TNameCheck = std::function<bool(const std::string& name)>;

// "Edit Envelope Properties"
struct TEnvelopeBuffer {
    std::string name;         // at most 31 characters
    float threshold = 0;      // currency units
    std::string description;  // at most 1023 characters
    bool inPlan = true;       // "Include Envelope in &Allocation Plan"
    TNameCheck checkName;
};

// "Edit Envelope Root Properties"
struct TEnvelopeRootBuffer {
    std::string name;
    TNameCheck checkName;
};

// "Edit Bundle Properties"
struct TBundleBuffer {
    std::string name;
    float threshold = 0;
    std::string description;
    TNameCheck checkName;
};

// "Edit Association Properties"
struct TAssociationBuffer {
    std::string name;
    std::string description;
    TNameCheck checkName;
};

// "Delete Envelope": the replacement is chosen from a drop-down list "Select New Envelope".
struct TDeleteEnvelopeBuffer {
    std::string text;  // the explanation shown above the list
    std::vector<std::string> names;
    std::vector<uint32_t> ids;  // parallel to names
    int selected = 0;           // 0-based; the first entry is preselected
};

// "Select Envelope", shown with the caption in the buffer.
struct TChooseEnvelopeBuffer {
    std::string caption;
    std::vector<std::string> names;
    int selected = -1;  // 0-based; -1 for no selection, in and out
};

class TEnvelopeDialogPort {
public:
    virtual ~TEnvelopeDialogPort() = default;
    virtual bool EditEnvelope(TEnvelopeBuffer& buffer) = 0;
    virtual bool EditEnvelopeRoot(TEnvelopeRootBuffer& buffer) = 0;
    virtual bool EditBundle(TBundleBuffer& buffer) = 0;
    virtual bool EditAssociation(TAssociationBuffer& buffer) = 0;
    virtual bool DeleteEnvelope(TDeleteEnvelopeBuffer& buffer) = 0;
    virtual bool ChooseEnvelope(TChooseEnvelopeBuffer& buffer) = 0;
};

// The port in use; never null (until one is set, every dialog is cancelled and nothing opens).
extern TPortSlot<TEnvelopeDialogPort> EnvelopeDialogs;
