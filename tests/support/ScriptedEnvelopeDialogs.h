// The envelope dialogs' port for tests.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "envelopes/EnvelopeDialogs.h"

// Answers the envelope dialogs from queues. A property answer tries the names in turn the way
// the dialog's OK button does (a refused name keeps the dialog open) and cancels when none
// passes or when the queue is empty.
class TScriptedEnvelopeDialogs : public TEnvelopeDialogPort {
public:
    struct TPropertyAnswer {
        TPropertyAnswer(std::vector<std::string> names, float threshold = 0,
                        std::string description = {}, bool inPlan = true)
            : names(std::move(names)),
              threshold(threshold),
              description(std::move(description)),
              inPlan(inPlan) {}
        std::vector<std::string> names;  // typed in turn until one is accepted
        float threshold;
        std::string description;
        bool inPlan;
    };
    std::deque<TPropertyAnswer> properties;
    std::deque<int> deleteChoices;  // -1 cancels
    std::deque<int> chooseChoices;  // -1 cancels
    TDeleteEnvelopeBuffer lastDelete;
    TChooseEnvelopeBuffer lastChoose;

    bool EditEnvelope(TEnvelopeBuffer& b) override {
        return Answer(b.name, b.checkName, [&](const TPropertyAnswer& a) {
            b.threshold = a.threshold;
            b.description = a.description;
            b.inPlan = a.inPlan;
        });
    }
    bool EditEnvelopeRoot(TEnvelopeRootBuffer& b) override {
        return Answer(b.name, b.checkName, [](const TPropertyAnswer&) {});
    }
    bool EditBundle(TBundleBuffer& b) override {
        return Answer(b.name, b.checkName, [&](const TPropertyAnswer& a) {
            b.threshold = a.threshold;
            b.description = a.description;
        });
    }
    bool EditAssociation(TAssociationBuffer& b) override {
        return Answer(b.name, b.checkName,
                      [&](const TPropertyAnswer& a) { b.description = a.description; });
    }
    bool DeleteEnvelope(TDeleteEnvelopeBuffer& b) override {
        lastDelete = b;
        return Pick(deleteChoices, b.selected);
    }
    bool ChooseEnvelope(TChooseEnvelopeBuffer& b) override {
        lastChoose = b;
        return Pick(chooseChoices, b.selected);
    }

private:
    TPortInstall<TEnvelopeDialogPort> installed{EnvelopeDialogs, *this};
    bool Answer(std::string& name, const TNameCheck& check,
                const std::function<void(const TPropertyAnswer&)>& rest) {
        if (properties.empty()) return false;
        TPropertyAnswer a = properties.front();
        properties.pop_front();
        for (const std::string& typed : a.names)
            if (check(typed)) {
                name = typed;
                rest(a);
                return true;
            }
        return false;
    }
    static bool Pick(std::deque<int>& choices, int& selected) {
        if (choices.empty() || choices.front() < 0) {
            if (!choices.empty()) choices.pop_front();
            return false;
        }
        selected = choices.front();
        choices.pop_front();
        return true;
    }
};
