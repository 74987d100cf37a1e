// dump, convert and check: reading a budget file as the program opens it, from the console.
#include <cstdio>
#include <iostream>

#include "accounts/Account.h"
#include "accounts/AccountGroup.h"
#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "app/BudgetCheck.h"
#include "app/BudgetFile.h"
#include "cli/BudgetWriter.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "core/QuilletData.h"
#include "core/Text.h"
#include "envelopes/Association.h"
#include "envelopes/Bundle.h"
#include "envelopes/Env.h"
#include "envelopes/EnvelopeAlias.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "plan/XTemplate.h"
#include "plan/XTemplateManager.h"
#include "transactions/XManager.h"

namespace {

// "YYYY-MM-DD" from the fields as they are, so an erased date reads "2011-00-00".
std::string IsoDate(uint32_t key) {
    TDate d(key);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.Year(), d.Month(), d.Day());
    return text;
}

// A cleared value: 0 not cleared, 1 pending, otherwise the date it was cleared.
void ClearedValue(TJsonWriter& json, uint32_t value) {
    if (value == XNotCleared || value == XClearedPending)
        json.UInt(value);
    else
        json.String(IsoDate(value));
}

void Children(TJsonWriter& json, const TTreeItem* node,
              void (*each)(TJsonWriter&, const TTreeItem*)) {
    json.Key("children").BeginArray();
    for (const TTreeItem* c = node->GetFirstChild(); c; c = c->GetNextSibling())
        each(json, c);
    json.EndArray();
}

void AccountNode(TJsonWriter& json, const TTreeItem* item) {
    const auto* node = dynamic_cast<const TAccountNode*>(item);
    if (!node) return;
    json.BeginObject();
    const char* type = "root";
    std::string description;
    if (const auto* a = dynamic_cast<const TAccount*>(node)) {
        type = "account";
        description = a->GetData().description;
    } else if (const auto* g = dynamic_cast<const TAccountGroup*>(node)) {
        type = "group";
        description = g->GetData().description;
    }
    json.Member("type", type);
    json.Key("id").UInt(node->GetId());
    json.Key("name").Text(node->GetName());
    json.Key("description").Text(description);
    json.Key("expanded").Bool(node->IsExpanded());
    json.Key("balance").Int(node->GetBalance().Cents());
    if (const auto* a = dynamic_cast<const TAccount*>(node)) {
        json.Key("kind").UInt(a->GetData().kind);
        json.Key("defaultEnvelope").UInt(a->GetData().defaultEnvelope);
        json.Key("cleared").Int(a->GetData().clearedBalance);
    }
    Children(json, node, AccountNode);
    json.EndObject();
}

void EnvelopeNode(TJsonWriter& json, const TTreeItem* item) {
    const auto* node = dynamic_cast<const TEnvelopeNode*>(item);
    if (!node) return;
    json.BeginObject();
    std::string description;
    const char* type = "root";
    if (const auto* e = dynamic_cast<const TEnv*>(node)) {
        type = "envelope";
        description = e->GetData()->description;
    } else if (const auto* b = dynamic_cast<const TBundle*>(node)) {
        type = "bundle";
        description = b->GetData()->description;
    } else if (const auto* a = dynamic_cast<const TAssociation*>(node)) {
        type = "association";
        description = a->GetData()->description;
    } else if (dynamic_cast<const TEnvelopeAlias*>(node)) {
        type = "alias";
    }
    json.Member("type", type);
    json.Key("id").UInt(node->GetId());
    json.Key("name").Text(node->GetName());
    json.Key("description").Text(description);
    json.Key("expanded").Bool(node->IsExpanded());
    json.Key("balance").Int(node->GetBalance().Cents());
    if (const auto* e = dynamic_cast<const TEnv*>(node)) {
        json.Key("threshold").Float(e->GetData()->threshold);
        json.Key("inPlan").Bool(e->IsInPlan());
        json.Key("watchdog").Bool(e->IsWatched());
        json.Key("cleared").Int(e->GetRecBalance().Cents());
    } else if (const auto* b = dynamic_cast<const TBundle*>(node)) {
        json.Key("threshold").Float(b->GetData()->threshold);
        json.Key("watchdog").Bool(b->IsWatched());
    } else if (const auto* a = dynamic_cast<const TEnvelopeAlias*>(node)) {
        const TEnvelopeNode* target = a->GetTarget();
        json.Key("target").UInt(target ? target->GetId() : 0);
    }
    Children(json, node, EnvelopeNode);
    json.EndObject();
}

void Transactions(TJsonWriter& json, TXManager& store) {
    json.Key("transactions").BeginArray();
    for (uint32_t pos = 1; pos <= store.GetCount(); ++pos) {
        const TXRecord& r = store.RecordAt(pos);
        json.BeginObject();
        json.Key("position").UInt(pos);
        json.Key("id").UInt(r.id);
        json.Key("flags").UInt(r.flags);
        json.Key("account").UInt(r.account);
        json.Key("envelope").UInt(r.envelope);
        json.Key("parent").UInt(r.parent);
        json.Key("partner").UInt(r.partner);
        json.Member("date", IsoDate(r.date));
        json.Member("created", IsoDate(r.created));
        json.Key("accountCleared");
        ClearedValue(json, r.accountCleared);
        json.Key("envelopeCleared");
        ClearedValue(json, r.envelopeCleared);
        json.Key("newlyImported").UInt(r.newlyImported);
        json.Key("amount").Int(r.amount);
        json.Key("code").Text(r.GetCode());
        json.Key("payableTo").Text(r.GetPayableTo());
        json.Key("memo").Text(r.GetMemo());
        json.EndObject();
    }
    json.EndArray();
}

void Templates(TJsonWriter& json, TXTemplateManager& templates) {
    json.Key("templates").BeginArray();
    for (uint32_t i = 1; i <= templates.GetCount(); ++i) {
        const auto* t = dynamic_cast<const TXTemplate*>(templates.GetAt(i));
        if (!t) continue;
        json.BeginObject();
        json.Key("id").UInt(t->GetId());
        json.Key("name").Text(t->GetName());
        json.Key("includeInPlan").Bool(t->GetIncludeInPlan());
        json.Key("period").UInt(t->GetPeriod());
        json.Key("payableTo").Text(t->GetPayableTo());
        json.Key("memo").Text(t->GetMemo());
        json.Key("items").BeginArray();
        const TXTemplateList& items = t->GetItems();
        for (uint32_t k = 0; k < items.GetCount(); ++k) {
            const TXTemplateItem* item = items.GetAt(k);
            if (!item) continue;
            json.BeginObject();
            json.Key("envelope").UInt(item->GetEnvelope());
            json.Key("amount").Int(item->GetAmount());
            json.Key("description").Text(item->GetDescription());
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
}

void Placement(TJsonWriter& json, const char* key, const TChildPlacement& p) {
    json.Key(key).BeginObject();
    json.Member("width", p.width);
    json.Member("height", p.height);
    json.Member("x", p.x);
    json.Member("y", p.y);
    json.Member("show", p.show);
    json.Key("open").Bool(p.open);
    json.EndObject();
}

// Opens a budget for a command; null (after saying why) when it cannot be read.
std::unique_ptr<TQuilletData> Open(const char* command, const std::string& path) {
    std::string error;
    std::unique_ptr<TQuilletData> doc = LoadBudgetFile(path, error);
    if (!doc) std::cerr << "quillet-cli " << command << ": " << path << ": " << error << "\n";
    return doc;
}

// The budget of a command taking exactly `expected` arguments, the file first; null after saying
// why when the count is wrong (the usage line) or the file cannot be read.
std::unique_ptr<TQuilletData> OpenArgument(const char* command, const TCommandArgs& args,
                                           size_t expected, const char* operands) {
    if (args.size() != expected) {
        std::cerr << "usage: quillet-cli " << command << " " << operands << "\n";
        return nullptr;
    }
    return Open(command, args[0]);
}

}  // namespace

int RunDumpCommand(const TCommandArgs& args) {
    std::unique_ptr<TQuilletData> doc = OpenArgument("dump", args, 1, "FILE.qlt");
    if (!doc) return 2;
    TJsonWriter json;
    json.BeginObject();
    json.Member("documentVersion", static_cast<int64_t>(TQuilletData::Version));
    json.Member("date", IsoDate(doc->GetDate().Key()));
    json.Key("accounts");
    AccountNode(json, doc->GetAccounts().GetRoot());
    json.Key("envelopes");
    EnvelopeNode(json, doc->GetEnvelopes().GetRoot());
    Transactions(json, doc->GetXManager());
    Templates(json, doc->GetTemplates());
    json.Key("windows").BeginObject();
    Placement(json, "accounts", doc->AccountsPlacement());
    Placement(json, "envelopes", doc->EnvelopesPlacement());
    json.EndObject();
    json.Key("settings").BeginArray();
    for (const TSettingsEntry& e : doc->Settings().Entries()) {
        json.BeginObject();
        json.Key("key").Text(e.key);
        json.Key("value").Text(e.value);
        json.Member("qualifier", e.qualifier);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    std::cout << json.str() << "\n";
    return 0;
}

int RunConvertCommand(const TCommandArgs& args) {
    if (args.size() != 2) {
        std::cerr << "usage: quillet-cli convert IN.qlt OUT.qlt\n";
        return 2;
    }
    // The target is locked before the source is read, so a writer of the target meanwhile is
    // either refused or refuses this one.
    TBudgetWriter writer("convert", args[1]);
    if (!writer.Lock()) return 1;
    std::unique_ptr<TQuilletData> doc = Open("convert", args[0]);
    if (!doc) return 2;
    if (!writer.TotalsAgreeIn(*doc, args[0])) return 1;
    for (const std::string& lost : doc->GetEnvelopes().DroppedOnReading())
        std::cerr << "quillet-cli convert: " << args[0] << ": dropped " << Cp1252ToUtf8(lost)
                  << "\n";
    return writer.Save(*doc) ? 0 : 1;
}

int RunCheckCommand(const TCommandArgs& args) {
    std::unique_ptr<TQuilletData> doc = OpenArgument("check", args, 1, "FILE.qlt");
    if (!doc) return 2;
    std::vector<std::string> problems = CheckBudget(*doc);
    for (const std::string& p : problems)
        std::cout << Cp1252ToUtf8(p) << "\n";
    if (problems.empty()) std::cout << "sound\n";
    return problems.empty() ? 0 : 1;
}
