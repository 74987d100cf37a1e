#include "envelopes/qt/EnvelopeDialogsQt.h"

#include <QComboBox>

#include "controls/qt/Choosers.h"
#include "controls/qt/PropertyForm.h"
#include "controls/qt/QtText.h"

bool TEnvelopeDialogsQt::EditEnvelope(TEnvelopeBuffer& buffer) {
    TPropertyForm form("Edit Envelope Properties", parent);
    form.AddName(buffer.name);
    form.AddMoney("&Threshold:", "threshold", buffer.threshold);
    form.AddDescription(buffer.description);
    form.AddCheck("Include Envelope in &Allocation Plan", "inPlan", buffer.inPlan);
    return form.Run(buffer.checkName);
}

bool TEnvelopeDialogsQt::EditEnvelopeRoot(TEnvelopeRootBuffer& buffer) {
    return EditItemProperties("Edit Envelope Root Properties", parent, buffer);
}

bool TEnvelopeDialogsQt::EditBundle(TBundleBuffer& buffer) {
    return EditItemProperties("Edit Bundle Properties", parent, buffer, [&](TPropertyForm& form) {
        form.AddMoney("&Threshold:", "threshold", buffer.threshold);
    });
}

bool TEnvelopeDialogsQt::EditAssociation(TAssociationBuffer& buffer) {
    return EditItemProperties("Edit Association Properties", parent, buffer);
}

bool TEnvelopeDialogsQt::DeleteEnvelope(TDeleteEnvelopeBuffer& buffer) {
    TPropertyForm form("Delete Envelope", parent);
    form.setObjectName("deleteEnvelope");
    form.AddText(FromWindows1252(buffer.text));
    QComboBox* replacement =
        form.AddCombo("&Select New Envelope:", "newEnvelope", buffer.names, buffer.selected);
    if (!form.Run() || replacement->currentIndex() < 0) return false;
    buffer.selected = replacement->currentIndex();
    return true;
}

bool TEnvelopeDialogsQt::ChooseEnvelope(TChooseEnvelopeBuffer& buffer) {
    TIdObjectChooser chooser(TChooserFace::Envelope, parent);
    if (!buffer.caption.empty()) chooser.setWindowTitle(FromWindows1252(buffer.caption));
    return chooser.Run(buffer.names, buffer.selected);
}
