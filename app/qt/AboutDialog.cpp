#include "app/qt/AboutDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/UpdateCheck.h"
#include "app/Version.h"
#include "controls/qt/ControlNames.h"

QString AboutVersionText() {
    return QString("Version %1 Build %2")
        .arg(QString::fromStdString(QuilletVersionText()))
        .arg(QuilletBuildNumber());
}

// The icon is embedded in the program's library; a static library keeps it only when asked for.
static void InitArtwork() {
    Q_INIT_RESOURCE(quillet);
}

TAboutDialog::TAboutDialog(QWidget* parent) : QDialog(parent) {
    InitArtwork();
    setObjectName("about");
    setWindowTitle("About Quillet");
    setAccessibleName("About Quillet");

    QIcon icon = QApplication::windowIcon();
    if (icon.isNull()) icon = QIcon(":/icons/quillet.svg");
    auto* picture = NameControl(new QLabel(this), "icon", "Quillet");
    picture->setPixmap(icon.pixmap(64, 64));
    picture->setAlignment(Qt::AlignTop);

    auto* name = NameControl(new QLabel("<b>Quillet</b>", this), "name", "Quillet");
    QFont large = name->font();
    large.setPointSizeF(large.pointSizeF() * 1.5);
    name->setFont(large);
    const QString versionText = AboutVersionText();
    auto* version = NameControl(new QLabel(versionText, this), "version", versionText);
    version->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const QString purpose = "Envelope budgeting: every amount in your accounts has its envelope.";
    auto* line = NameControl(new QLabel(purpose, this), "purpose", purpose);
    line->setWordWrap(true);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(version);
    texts->addWidget(line);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->setObjectName("buttons");
    NameControl(buttons->button(QDialogButtonBox::Ok), "ok", "OK");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 60);
    setFixedSize(sizeHint().expandedTo(minimumSize()));
}
