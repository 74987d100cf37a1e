// The envelope tree's dialogs as Qt dialogs: the property forms of envelopes, bundles,
// associations and the root (also the forms of the New commands), "Delete Envelope" with its
// replacement list, and the "Select Envelope" chooser. Each edits a copy of its buffer and hands
// it back only on OK.
#pragma once

#include "envelopes/EnvelopeDialogs.h"

class QWidget;

class TEnvelopeDialogsQt : public TEnvelopeDialogPort {
public:
    explicit TEnvelopeDialogsQt(QWidget* parent) : parent(parent) {}

    bool EditEnvelope(TEnvelopeBuffer& buffer) override;
    bool EditEnvelopeRoot(TEnvelopeRootBuffer& buffer) override;
    bool EditBundle(TBundleBuffer& buffer) override;
    bool EditAssociation(TAssociationBuffer& buffer) override;
    bool DeleteEnvelope(TDeleteEnvelopeBuffer& buffer) override;
    bool ChooseEnvelope(TChooseEnvelopeBuffer& buffer) override;

private:
    QWidget* parent;
};
