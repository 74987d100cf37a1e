// The dialogs of the transaction templates, as a port: the property dialog of one template
// ("Edit Transaction Template"), the list of all templates ("Transaction Templates"), and the
// command that applies a template to a transaction. The domain fills the buffers and keeps every
// rule; the program shows real dialogs, the tests script them. The template chooser ("Select
// Template") is the one of the plan dialog port.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/PortSlot.h"
#include "plan/XTemplate.h"

class TManagedItem;
class TManagedList;
class TQuilletData;
class TScreenPort;
class TSettingsList;
class TXTemplateItem;

// "Edit Transaction Template". The upper half edits the five fields, the lower half is a ledger
// grid over the template's items (the template's item list is the grid's model). While it runs
// the dialog registers itself with the template (SetOpenDialog) to be told the total. It has no
// cancel: "&Close", the close box and Escape all end it through `check`, which shows why a name
// is refused; the dialog stays open with the focus on the name while it answers false.
struct TXTemplateDialogBuffer {
    TXTemplate* xtemplate = nullptr;
    std::string caption;                  // "Transaction Template: <name>"
    TXTemplateFields fields;              // in and out
    std::vector<std::string> takenNames;  // the names of every other template
    // The grid's columns: column id and width in characters, in order.
    std::vector<std::pair<uint32_t, uint32_t>> columns;
    std::string total;  // what the total field shows at first
    int width = 0;      // in: the outer size to open at, centred; out: the size it had last
    int height = 0;
    std::function<bool(const TXTemplateFields&)> check;
};

// The logic of a list dialog over a managed list ("&Add Item", "&Copy Item", "&Properties",
// "&Delete Item", "Close"): the program's dialog shows the names and the selection, calls these
// operations for its buttons and refills itself from the names after each.
class TManagedListDialog {
public:
    TManagedListDialog(TManagedList& list, std::string caption);

    const std::string& GetCaption() const { return caption; }
    // The item names in list order.
    const std::vector<std::string>& GetNames() const { return names; }
    // 0-based; -1 when nothing is selected.
    int GetSelection() const { return selection; }
    // An index outside the names selects nothing.
    void Select(int index);

    // Each keeps the selection at its index afterwards (the first row when nothing was
    // selected); "Delete" moves it to the new last row when the last row went. Every command
    // but "Add" beeps and does nothing when nothing is selected.
    void AddItem();
    void CopyItem();
    void EditItem();  // "&Properties" and a double click on a name
    void DeleteItem();

private:
    // The selected item, found by its name; null (after a beep) when nothing is selected.
    TManagedItem* Selected();
    void Refill(int index);

    TManagedList& list;
    std::string caption;
    std::vector<std::string> names;
    int selection = -1;
};

class TTemplateDialogPort {
public:
    virtual ~TTemplateDialogPort() = default;
    // Runs the property dialog until it closes.
    virtual void EditTemplate(TXTemplateDialogBuffer& buffer) = 0;
    // Runs a list dialog until "Close".
    virtual void ManageList(TManagedListDialog& dialog) = 0;

    // The screen the property dialog's default size is worked out from (1920 x 1080 unless the
    // program gives its own), and the configuration settings where its size is remembered (none:
    // nothing is remembered).
    virtual const TScreenPort& Screen() const;
    virtual TSettingsList* ConfigSettings() { return nullptr; }
};

// The port in use; never null. Until one is set the property dialog closes at once with its
// fields unchanged and the list dialog closes without a command.
extern TPortSlot<TTemplateDialogPort> TemplateDialogs;

// The property dialog's logic behind TXTemplate::Edit: size from the screen and the remembered
// "XTemplateDlg.Width"/"XTemplateDlg.Height", the dialog, the fields back, the size remembered,
// the blank rows dropped and the document marked modified. Always true.
bool EditTemplateProperties(TXTemplate& xtemplate);

// The check on closing the property dialog: an empty name, or one that another template has
// (letter case counts), is refused with a message when tell is set.
bool CheckTemplateName(const std::string& name, const std::vector<std::string>& taken, bool tell);

// "Choose &Envelope" for the grid's current row (null: none, which beeps): the envelope chooser,
// preselecting the row's envelope; a choice replaces it. True when the row changed.
bool ChooseTemplateItemEnvelope(TXTemplateItem* row);

// "View &Transaction Templates...": the list dialog over the document's templates; the document
// is marked modified afterwards, whether or not anything changed.
void ViewTransactionTemplates(TQuilletData& document);

// Makes "A&pply Template" available to transaction rows: the "Choose Transaction Template"
// chooser (through the plan dialog port) followed by TXTemplate::ApplyTo. The program calls this
// once at start-up; the console program applies no templates.
void InstallTemplateApplier();
