// "About Quillet": the program's icon, name, version and build.
#pragma once

#include <QDialog>

class TAboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit TAboutDialog(QWidget* parent = nullptr);
};

// "Version 3.1 Build 1004".
QString AboutVersionText();
