// The small dialogs other dialogs and commands ask for one answer: the chooser that returns the
// id of one name of a list ("Select Account", "Select Envelope", "Select Template"), and "Edit
// String", which asks for one line of text.
#pragma once

#include <QDialog>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class TIdObjectList;

// The chooser's faces; each has its own caption, which a caller may replace.
enum class TChooserFace { Account, Envelope, Template };

class TIdObjectChooser : public QDialog {
    Q_OBJECT

public:
    explicit TIdObjectChooser(TChooserFace face, QWidget* parent = nullptr);

    // Shows the list's names (asked with flags) with the current id's selected (the first when
    // it has none). OK gives the chosen name's id, or the current id when nothing is selected;
    // Cancel gives 0.
    uint32_t Run(const TIdObjectList& list, uint32_t flags, uint32_t currentId);
    // The same over names a caller prepared: selected (0-based, -1 for none) is shown, and
    // changed only on OK with a name selected. True on OK.
    bool Run(const std::vector<std::string>& names, int& selected);

    QListWidget* List() const { return list; }

private:
    void Fill(const std::vector<std::string>& names, int selected);

    QListWidget* list;
};

// "Edit String": the title as caption, the prompt over an edit of 127 characters.
class TGetStringDlg : public QDialog {
    Q_OBJECT

public:
    TGetStringDlg(const std::string& title, const std::string& prompt, const std::string& text,
                  QWidget* parent = nullptr);

    // The text as it stands (at most 127 characters).
    std::string GetText() const;
    // Runs the dialog: the text on OK, nothing on Cancel.
    std::optional<std::string> Run();

private:
    QLineEdit* edit;
};
