#include "envelopes/qt/EnvelopeDialogsQt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "controls/qt/Choosers.h"
#include "controls/qt/EditFields.h"
#include "controls/qt/PropertyForm.h"
#include "controls/qt/QtText.h"

bool TEnvelopeDialogsQt::EditEnvelope(TEnvelopeBuffer& buffer) {
    TPropertyForm form("Edit Envelope Properties", parent);
    form.AddName(buffer.name);
    TEditFloat* threshold = form.AddMoney("&Threshold:", "threshold", buffer.threshold);
    form.AddDescription(buffer.description);
    QCheckBox* inPlan =
        form.AddCheck("Include Envelope in &Allocation Plan", "inPlan", buffer.inPlan);
    if (!form.Run(buffer.checkName)) return false;
    buffer.name = form.Name();
    buffer.threshold = threshold->GetValue();
    buffer.description = form.Description();
    buffer.inPlan = inPlan->isChecked();
    return true;
}

bool TEnvelopeDialogsQt::EditEnvelopeRoot(TEnvelopeRootBuffer& buffer) {
    TPropertyForm form("Edit Envelope Root Properties", parent);
    form.AddName(buffer.name);
    if (!form.Run(buffer.checkName)) return false;
    buffer.name = form.Name();
    return true;
}

bool TEnvelopeDialogsQt::EditBundle(TBundleBuffer& buffer) {
    TPropertyForm form("Edit Bundle Properties", parent);
    form.AddName(buffer.name);
    TEditFloat* threshold = form.AddMoney("&Threshold:", "threshold", buffer.threshold);
    form.AddDescription(buffer.description);
    if (!form.Run(buffer.checkName)) return false;
    buffer.name = form.Name();
    buffer.threshold = threshold->GetValue();
    buffer.description = form.Description();
    return true;
}

bool TEnvelopeDialogsQt::EditAssociation(TAssociationBuffer& buffer) {
    TPropertyForm form("Edit Association Properties", parent);
    form.AddName(buffer.name);
    form.AddDescription(buffer.description);
    if (!form.Run(buffer.checkName)) return false;
    buffer.name = form.Name();
    buffer.description = form.Description();
    return true;
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
