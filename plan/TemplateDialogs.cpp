#include "plan/TemplateDialogs.h"

#include <algorithm>

#include "controls/EditText.h"
#include "core/ManagedList.h"
#include "core/QuilletData.h"
#include "core/QuilletOptions.h"
#include "core/SettingsList.h"
#include "core/TarnStringList.h"
#include "core/UIPort.h"
#include "envelopes/EnvelopeList.h"
#include "plan/PlanDialogs.h"
#include "plan/XTemplateManager.h"
#include "transactions/XItem.h"
#include "transactions/XManager.h"

const TScreenPort& TTemplateDialogPort::Screen() const {
    static const TFixedScreen screen;
    return screen;
}

namespace {

constexpr const char* WidthKey = "XTemplateDlg.Width";
constexpr const char* HeightKey = "XTemplateDlg.Height";
constexpr int MinWidth = 700;
constexpr int MinHeight = 500;

// Used until the program sets its own: a headless run changes nothing through a dialog nobody
// saw.
class TClosingTemplateDialogs : public TTemplateDialogPort {
public:
    void EditTemplate(TXTemplateDialogBuffer&) override {}
    void ManageList(TManagedListDialog&) override {}
};

TClosingTemplateDialogs closing;

void Terminate(TXTemplateFields& fields) {
    fields.name[TXTemplateFields::NameSize - 1] = '\0';
    fields.payableTo[TXTemplateFields::TextSize - 1] = '\0';
    fields.memo[TXTemplateFields::TextSize - 1] = '\0';
}

// "Choose Transaction Template" and the template's ApplyTo. The question before overwriting,
// the commit and the multiple's window belong to TXItem::ApplyTemplate.
class TTemplateApplier : public TXTemplateApplier {
public:
    bool ChooseAndApply(TXItem& item) override {
        TQuilletData* doc = item.Manager().Document();
        if (!doc) return false;
        TXTemplateManager& templates = doc->GetTemplates();
        TChooseTemplateBuffer buffer;
        buffer.title = "Choose Transaction Template";
        for (uint32_t i = 1; i <= templates.GetCount(); ++i)
            buffer.names.push_back(templates.GetTemplate(i)->GetName());
        if (buffer.names.empty()) return false;
        buffer.selected = 0;
        if (!PlanDialogs().ChooseTemplate(buffer)) return false;
        // The names are in manager order, so the index names the template even when two
        // names differ only in letter case.
        if (buffer.selected < 0 || static_cast<size_t>(buffer.selected) >= buffer.names.size())
            return false;
        templates.GetTemplate(static_cast<uint32_t>(buffer.selected) + 1)->ApplyTo(item);
        return true;
    }
};

TTemplateApplier applier;

}  // namespace

TPortSlot<TTemplateDialogPort> TemplateDialogs(closing);

void InstallTemplateApplier() {
    SetTemplateApplier(&applier);
}

// ---------------------------------------------------------------------------------------------
// The property dialog

bool CheckTemplateName(const std::string& name, const std::vector<std::string>& taken, bool tell) {
    std::string kept = name.substr(0, TXTemplateFields::NameSize - 1);
    return CheckUniqueLabel(kept, std::find(taken.begin(), taken.end(), kept) != taken.end(), tell);
}

bool EditTemplateProperties(TXTemplate& xtemplate) {
    TTemplateDialogPort& port = TemplateDialogs();
    TSettingsList* settings = port.ConfigSettings();
    const TScreenPort& screen = port.Screen();

    TXTemplateDialogBuffer buffer;
    buffer.xtemplate = &xtemplate;
    buffer.caption = "Transaction Template: " + xtemplate.GetName();
    buffer.fields = xtemplate.Fields();
    if (const TManagedList* owner = xtemplate.GetOwner()) {
        for (uint32_t i = 1; i <= owner->GetCount(); ++i) {
            const TManagedItem* other = owner->GetAt(i);
            if (other != &xtemplate) buffer.takenNames.push_back(other->NameText());
        }
    }
    const TQuilletOptions& options = CurrentOptions();
    buffer.columns = {{XTColDescription, options.payableToWidth * 5 / 4},
                      {XTColPayment, options.amountWidth},
                      {XTColDeposit, options.amountWidth},
                      {XTColEnvelope, options.envelopeLabelWidth * 5 / 4}};
    buffer.total = xtemplate.TotalText();
    buffer.width = std::max(screen.ScreenWidth() / 2, MinWidth);
    buffer.height = std::max(screen.ScreenHeight() / 2, MinHeight);
    if (settings) {
        // A remembered size that makes no sense gives way to the default.
        int32_t width = settings->GetInt(WidthKey, buffer.width);
        int32_t height = settings->GetInt(HeightKey, buffer.height);
        if (width > 0) buffer.width = width;
        if (height > 0) buffer.height = height;
    }
    const std::vector<std::string> taken = buffer.takenNames;
    buffer.check = [taken](const TXTemplateFields& fields) {
        return CheckTemplateName(fields.name, taken, true);
    };

    port.EditTemplate(buffer);
    xtemplate.SetOpenDialog(nullptr);

    // A dialog that let a refused name through still leaves the template its own name.
    const std::string ownName = xtemplate.GetName();
    Terminate(buffer.fields);
    xtemplate.Fields() = buffer.fields;
    if (!CheckTemplateName(xtemplate.GetName(), taken, false)) xtemplate.SetName(ownName);

    if (settings) {
        settings->SetInt(WidthKey, buffer.width);
        settings->SetInt(HeightKey, buffer.height);
    }
    xtemplate.GetItems().DropBlankRows();
    if (TQuilletData* doc = TQuilletData::Current()) doc->SetModified();
    return true;
}

bool ChooseTemplateItemEnvelope(TXTemplateItem* row) {
    TQuilletData* doc = TQuilletData::Current();
    if (!row || !doc) {
        UI().Beep();
        return false;
    }
    uint32_t chosen = doc->GetEnvelopes().ChooseEnvelope(row->GetEnvelope());
    if (chosen == 0 || chosen == row->GetEnvelope()) return false;
    row->SetEnvelope(chosen);
    if (row->GetOwner() && row->GetOwner()->GetOwner()) row->GetOwner()->GetOwner()->UpdateTotal();
    return true;
}

// ---------------------------------------------------------------------------------------------
// The list dialog

TManagedListDialog::TManagedListDialog(TManagedList& list, std::string caption)
    : list(list), caption(std::move(caption)) {
    Refill(0);
}

void TManagedListDialog::Select(int index) {
    selection = index >= 0 && static_cast<size_t>(index) < names.size() ? index : -1;
}

void TManagedListDialog::Refill(int index) {
    names = list.GetStringList(0)->Items();
    if (names.empty())
        selection = -1;
    else
        selection = std::clamp(index, 0, static_cast<int>(names.size()) - 1);
}

TManagedItem* TManagedListDialog::Selected() {
    TManagedItem* item = selection >= 0 ? list.FindById(list.FindId(names[selection])) : nullptr;
    if (!item) UI().Beep();
    return item;
}

void TManagedListDialog::AddItem() {
    int keep = selection >= 0 ? selection : 0;
    list.AddNew();
    Refill(keep);
}

void TManagedListDialog::CopyItem() {
    TManagedItem* item = Selected();
    if (!item) return;
    list.Duplicate(item->GetId());
    Refill(selection);
}

void TManagedListDialog::EditItem() {
    TManagedItem* item = Selected();
    if (!item) return;
    item->Edit();
    Refill(selection);
}

void TManagedListDialog::DeleteItem() {
    TManagedItem* item = Selected();
    if (!item) return;
    list.Remove(item->GetId());
    Refill(selection);
}

// ---------------------------------------------------------------------------------------------
// The command

void ViewTransactionTemplates(TQuilletData& document) {
    TManagedListDialog dialog(document.GetTemplates(), "Transaction Templates");
    TemplateDialogs().ManageList(dialog);
    document.SetModified();
}
