#include "controls/qt/DialogButtons.h"

#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "controls/qt/ControlNames.h"

QDialogButtonBox* AddOkCancel(QDialog& dialog, QBoxLayout& layout) {
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    box->setObjectName("buttons");
    NameControl(box->button(QDialogButtonBox::Ok), "ok", "OK")->setDefault(true);
    NameControl(box->button(QDialogButtonBox::Cancel), "cancel", "Cancel");
    QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addWidget(box);
    return box;
}
