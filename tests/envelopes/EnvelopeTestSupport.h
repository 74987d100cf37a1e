// Shared pieces of the envelope tests: scripted dialogs, a small transaction store standing in
// for the real one, and helpers that spell out stream bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "envelopes/EnvelopeDialogs.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeReferences.h"
#include "tests/support/ScriptedEnvelopeDialogs.h"
#include "tests/support/Streams.h"
#include "tests/support/Trees.h"

namespace envtest {

using ::TScriptedEnvelopeDialogs;

using namespace streambytes;

// A new-object record: tag 2, '[', the class name, the class version, the fields, ']'.
inline Bytes Record(const std::string& name, uint32_t version, const Bytes& fields) {
    return Cat({{0x02, '['}, Str(name), W32(version), fields, {']'}});
}
// The node part: base version 1, expanded, watchdog, id, child count, then the children.
inline Bytes NodePart(bool expanded, bool watchdog, uint32_t id, std::vector<Bytes> children) {
    Bytes out = Cat({W32(1), W32(expanded), W32(watchdog), W32(id),
                     W32(static_cast<uint32_t>(children.size()))});
    for (const Bytes& c : children)
        out.insert(out.end(), c.begin(), c.end());
    return out;
}

// A few transactions standing in for the store: each names an envelope and posts its amount to
// the list, so that moving one carries the balance over as the real store does.
class TFakeStore : public TEnvelopeReferences {
public:
    explicit TFakeStore(TEnvelopeList& list) : list(list) { list.SetReferences(this); }
    ~TFakeStore() override { list.SetReferences(nullptr); }

    struct TTransaction {
        uint32_t envelope;
        int32_t amount;
    };
    std::vector<TTransaction> transactions;
    std::vector<std::pair<uint32_t, uint32_t>> defaultEnvelopeReplacements;
    std::vector<std::pair<uint32_t, uint32_t>> templateReplacements;
    struct TTransfer {
        uint32_t envelope, other;
        int32_t amount;
        TDate date;
    };
    std::vector<TTransfer> transfers;

    void Add(uint32_t envelope, int32_t amount) {
        transactions.push_back({envelope, amount});
        list.ChangeBalance(envelope, amount);
    }
    void MoveEnvelopeTransactions(uint32_t from, uint32_t to) override {
        for (TTransaction& t : transactions)
            if (t.envelope == from) {
                list.ChangeBalance(from, -t.amount);
                t.envelope = to;
                list.ChangeBalance(to, t.amount);
            }
    }
    void ReplaceDefaultEnvelope(uint32_t from, uint32_t to) override {
        defaultEnvelopeReplacements.emplace_back(from, to);
    }
    void ReplaceEnvelopeInTemplates(uint32_t from, uint32_t to) override {
        templateReplacements.emplace_back(from, to);
    }
    void AddEnvelopeTransfer(uint32_t envelope, uint32_t other, int32_t amount,
                             TDate date) override {
        transfers.push_back({envelope, other, amount, date});
        list.ChangeBalance(envelope, amount);
        list.ChangeBalance(other, -amount);
    }

private:
    TEnvelopeList& list;
};

// A node's name, an alias's with " [alias]" after it.
inline std::string Plain(const TEnvelopeNode* node) {
    return node->IsAlias() ? node->GetName() + " [alias]" : node->GetName();
}

inline std::string Children(const TTreeItem* parent) {
    return ChildNames<TEnvelopeNode>(parent, Plain);
}

}  // namespace envtest
