// The transaction views: an MDI child that shows the transactions of one account, one envelope or
// the parts of one multiple in the ledger grid, with the total and the memo of the current row
// under it. Blank rows at the end take new transactions; the row commands stand in the context
// menu and in the "&Edit" and "&Transactions" menus the view brings to the menu bar.
#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>
#include <string>

#include "views/XViewCommands.h"
#include "views/XViewSubject.h"
#include "views/qt/ChildCommands.h"

class QAction;
class QMenu;
class TEditableFilter;
class TLedger;
class TLedgerItem;
class TQuilletData;
class TXViewList;
class TXViewFooter;
class TXViewWatch;

class TXView : public QWidget, public TChildCommands {
    Q_OBJECT

public:
    TXView(TQuilletData& doc, TXViewKind kind, uint32_t id, QWidget* parent = nullptr);
    ~TXView() override;

    const TXViewSubject& Subject() const { return subject; }
    bool Shows(TXViewKind kind, uint32_t id) const {
        return subject.Kind() == kind && subject.Id() == id;
    }
    TLedger& Ledger() const { return *ledger; }
    TXViewList& List() const { return *list; }
    // The view's own filter; null for a multiple's view.
    TEditableFilter* Filter() const { return filter; }
    bool IsReconcile() const;
    QAction* Action(TXViewCommand command) const { return actions.at(command); }

    // Turns the reconcile layout on (all unreconciled transactions) unless it is on already.
    void ShowReconcile();
    // Columns and widths again from the options, then a repaint.
    void Relayout();
    // Everything redrawn: names and balances may have changed.
    void Refresh();
    // Closes the view's window; unless forced, through the closing question.
    void CloseView(bool force = false);

    // The texts under the grid, as painted.
    QString TotalLabel() const;
    TXViewTotalText TotalText() const;
    QString MemoText() const;

    // --- The frame's side.
    QList<QMenu*> ActiveMenus() override;
    bool CommandState(int id, bool& enabled, bool& checked) override;
    bool RunCommand(int id) override;

signals:
    // The current row or what the commands may do changed: the frame asks for their states.
    void CommandsChanged();
    // "Modify Transaction &View Configuration" was chosen.
    void ConfigurationRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    friend class TXViewWatch;
    void BuildActions();
    QAction* AddAction(TXViewCommand command, const QString& text, const QString& key);
    void BuildMenus();
    void UpdateActions();
    void Run(TXViewCommand command);
    // Lays the grid out in the mode its filter asks for and loads it.
    void LoadInMode();
    void ShowContextMenu(const QPoint& globalPos);
    void SetHovered(TLedgerItem* item);
    void MemoMayHaveChanged();
    // A change in the store: the total and the memo may show something else now.
    void StoreChanged();

    TXViewSubject subject;
    std::unique_ptr<TXViewList> list;
    TEditableFilter* filter = nullptr;  // held by the list
    std::unique_ptr<TXViewCommands> commands;
    std::unique_ptr<TXViewWatch> watch;
    TLedger* ledger = nullptr;
    TXViewFooter* footer = nullptr;
    std::map<TXViewCommand, QAction*> actions;
    QMenu* contextMenu = nullptr;
    QMenu* editMenu = nullptr;
    QMenu* transactionsMenu = nullptr;
    TLedgerItem* hovered = nullptr;
    QString memoShown;
    bool closing = false;  // the window closes without the question
};

class TAccountView : public TXView {
public:
    TAccountView(TQuilletData& doc, uint32_t accountId, QWidget* parent = nullptr)
        : TXView(doc, TXViewKind::Account, accountId, parent) {}
};

class TEnvelopeView : public TXView {
public:
    TEnvelopeView(TQuilletData& doc, uint32_t envelopeId, QWidget* parent = nullptr)
        : TXView(doc, TXViewKind::Envelope, envelopeId, parent) {}
};

class TMultipleView : public TXView {
public:
    TMultipleView(TQuilletData& doc, uint32_t multipleId, QWidget* parent = nullptr)
        : TXView(doc, TXViewKind::Multiple, multipleId, parent) {}
};
