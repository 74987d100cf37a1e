// The transaction templates' dialogs on Qt: "Transaction Templates", the list with its four
// commands, and "Transaction Template: %s", the property dialog with the grid of its items.
#pragma once

#include <QDialog>
#include <memory>

#include "plan/TemplateDialogs.h"
#include "plan/XTemplate.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class TLedger;

// The property dialog. It has no cancel: "&Close", the close box and Escape all end it through
// the buffer's check, and the fields go back into the buffer once the check lets it close.
class TXTemplatePropertiesDialog : public QDialog, public TXTemplateView {
    Q_OBJECT

public:
    explicit TXTemplatePropertiesDialog(TXTemplateDialogBuffer& buffer, QWidget* parent = nullptr);
    ~TXTemplatePropertiesDialog() override;

    void TotalChanged(const std::string& total) override;
    TLedger* Grid() const { return grid; }
    // "Choose &Envelope" for the grid's current row.
    void ChooseEnvelope();

    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TXTemplateDialogBuffer& buffer;
    QLineEdit* name;
    QCheckBox* include;
    class TIdComboBox* period;
    QLineEdit* payableTo;
    QLineEdit* memo;
    QLineEdit* total;
    TLedger* grid;

    TXTemplateFields Fields() const;
};

// "Transaction Templates": the names, "&Add Item", "&Copy Item", "&Properties" (and a double
// click), "&Delete Item" and "Close"; the commands are the list dialog's own.
class TManagedListDialogQt : public QDialog {
    Q_OBJECT

public:
    explicit TManagedListDialogQt(TManagedListDialog& logic, QWidget* parent = nullptr);

private:
    TManagedListDialog& logic;
    QListWidget* names;

    void Run(void (TManagedListDialog::*command)());
    void Refill();
};

class TTemplateDialogsQt : public TTemplateDialogPort {
public:
    TTemplateDialogsQt(QWidget* parent, const TScreenPort& screen, TSettingsList* settings)
        : parent(parent), screen(screen), settings(settings) {}

    void EditTemplate(TXTemplateDialogBuffer& buffer) override;
    void ManageList(TManagedListDialog& dialog) override;
    const TScreenPort& Screen() const override { return screen; }
    TSettingsList* ConfigSettings() override { return settings; }

private:
    QWidget* parent;
    const TScreenPort& screen;
    TSettingsList* settings;
};
