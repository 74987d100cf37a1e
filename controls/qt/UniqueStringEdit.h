// A name field that refuses an empty name and the names already taken. The dialog asks it before
// closing with OK; when it refuses, it has told the user why and holds the keyboard focus, and the
// dialog stays open.
#pragma once

#include <QLineEdit>
#include <memory>
#include <string>

#include "core/TarnStringList.h"

class TUniqueStringEdit : public QLineEdit {
    Q_OBJECT

public:
    // taken holds the names in use (the field's own excluded); its Find decides what counts as
    // the same name, so the envelope list's names also refuse a change of letter case.
    TUniqueStringEdit(QWidget* parent, const char* objectName, const QString& label, int textLimit,
                      std::unique_ptr<TTarnStringList> taken);

    void SetText(const std::string& text);
    std::string GetText() const;

    // True when the name may be kept; otherwise beeps, shows why and takes the focus back.
    bool CanClose();

private:
    std::unique_ptr<TTarnStringList> taken;
};
