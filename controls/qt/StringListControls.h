// Controls over a plain list of texts: a combo box that picks one of them, and an edit that
// completes what is typed with them. Each holds its list either owned or borrowed from its owner,
// and a default position (1-based; 0 for none) shown when a text has no entry.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <cstdint>
#include <memory>
#include <string>

#include "core/TarnStringList.h"

class TTarnStringListCombo : public QComboBox {
    Q_OBJECT

public:
    // capacity: the bytes of text the combo box hands back.
    TTarnStringListCombo(QWidget* parent, const char* objectName, const QString& label,
                         std::unique_ptr<TTarnStringList> names, uint32_t defaultPosition,
                         size_t capacity);
    TTarnStringListCombo(QWidget* parent, const char* objectName, const QString& label,
                         const TTarnStringList& names, uint32_t defaultPosition, size_t capacity);

    // Selects the text's entry, else the default one, else nothing.
    void SetText(const std::string& text);
    std::string GetText() const;

private:
    void Fill();

    std::unique_ptr<TTarnStringList> owned;
    const TTarnStringList& names;
    uint32_t defaultPosition;
    size_t capacity;
};

// Completes as the user types: "sav" over "Checking", "Savings" shows "Savings" with the caret
// after "Sav". In ledger mode it serves as the grid's inline editor: the keys that move or end
// the edit belong to the grid.
class TTarnStringListEdit : public QLineEdit {
    Q_OBJECT

public:
    TTarnStringListEdit(QWidget* parent, const char* objectName, const QString& label,
                        std::unique_ptr<TTarnStringList> names, uint32_t defaultPosition = 0);
    TTarnStringListEdit(QWidget* parent, const char* objectName, const QString& label,
                        const TTarnStringList& names, uint32_t defaultPosition = 0);

    void SetLedgerMode(bool on) { ledgerMode = on; }
    bool LedgerMode() const { return ledgerMode; }

    // Shows the text's entry, else the default one; a text with neither is shown as it is.
    void SetText(const std::string& text);
    std::string GetText() const;

    // Tab, Shift+Tab, Enter, Escape, Page Up, Page Down, Up and Down in ledger mode.
    static bool IsGridKey(int key);

signals:
    // A grid key pressed in ledger mode. When nothing listens, the key goes on to the parent
    // widget as an ignored key event does.
    void gridKey(int key, Qt::KeyboardModifiers modifiers);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Complete();

    std::unique_ptr<TTarnStringList> owned;
    const TTarnStringList& names;
    uint32_t defaultPosition;
    bool ledgerMode = false;
    bool rewriting = false;
};
