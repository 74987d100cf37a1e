#include "envelopes/EnvelopeDialogs.h"

namespace {

// Used until the program sets its own: a headless run must never change the tree through a
// dialog nobody saw.
class TCancellingDialogs : public TEnvelopeDialogPort {
public:
    bool EditEnvelope(TEnvelopeBuffer&) override { return false; }
    bool EditEnvelopeRoot(TEnvelopeRootBuffer&) override { return false; }
    bool EditBundle(TBundleBuffer&) override { return false; }
    bool EditAssociation(TAssociationBuffer&) override { return false; }
    bool DeleteEnvelope(TDeleteEnvelopeBuffer&) override { return false; }
    bool ChooseEnvelope(TChooseEnvelopeBuffer&) override { return false; }
};

TCancellingDialogs cancelling;

}  // namespace

TPortSlot<TEnvelopeDialogPort> EnvelopeDialogs(cancelling);
