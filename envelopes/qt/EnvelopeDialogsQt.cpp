#include "envelopes/qt/EnvelopeDialogsQt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include "controls/qt/PropertyForm.h"
#include "controls/qt/QtText.h"

bool TEnvelopeDialogsQt::EditEnvelope(TEnvelopeBuffer& buffer) {
    TPropertyForm form("Edit Envelope Properties", parent);
    form.AddName(buffer.name);
    QLineEdit* threshold = form.AddMoney("&Threshold:", "threshold", buffer.threshold);
    form.AddDescription(buffer.description);
    QCheckBox* inPlan =
        form.AddCheck("Include Envelope in &Allocation Plan", "inPlan", buffer.inPlan);
    if (!form.Run(buffer.checkName)) return false;
    buffer.name = form.Name();
    buffer.threshold = static_cast<float>(TPropertyForm::Units(threshold));
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
    QLineEdit* threshold = form.AddMoney("&Threshold:", "threshold", buffer.threshold);
    form.AddDescription(buffer.description);
    if (!form.Run(buffer.checkName)) return false;
    buffer.name = form.Name();
    buffer.threshold = static_cast<float>(TPropertyForm::Units(threshold));
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
    TPropertyForm form(FromWindows1252(buffer.caption), parent);
    form.setObjectName("selectEnvelope");
    QListWidget* list = form.AddList({}, "envelopes", buffer.names, buffer.selected);
    if (!form.Run() || list->currentRow() < 0) return false;
    buffer.selected = list->currentRow();
    return true;
}
