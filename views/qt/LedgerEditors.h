// The inline editors a ledger cell opens, made in one place so that the grid does not care which
// widget stands behind each kind: the plain one-line edit and the completing edit over a list.
#pragma once

#include <QLineEdit>
#include <memory>
#include <string>

class TTarnStringList;

// The plain editor: one line of at most 127 characters.
QLineEdit* MakeLedgerTextEditor(QWidget* parent, const std::string& text);
// The completing editor in ledger mode: it opens on the list entry that matches the text (the
// first entry when none does; empty when the text is) and completes what is typed from the list.
QLineEdit* MakeLedgerListEditor(QWidget* parent, std::unique_ptr<TTarnStringList> choices,
                                const std::string& text);
