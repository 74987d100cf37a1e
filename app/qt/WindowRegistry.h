// The window port of the program: opens the transaction views as MDI children of the frame (or
// brings forward the one already open), closes those whose subject goes away and redraws them.
// The tree windows redraw on TreeWindowsChanged.
#pragma once

#include <QList>
#include <QObject>

#include "core/WindowPort.h"
#include "views/XViewSubject.h"

class QMdiArea;
class QMenu;
class TXView;

class TWindowRegistry : public QObject, public TWindowPort {
    Q_OBJECT

public:
    explicit TWindowRegistry(QMdiArea& client, QObject* parent = nullptr);

    void OpenAccountLedger(uint32_t accountId, TLedgerMode mode) override;
    void OpenEnvelopeLedger(uint32_t envelopeId, TLedgerMode mode) override;
    void OpenMultipleView(uint32_t multipleId) override;
    void CloseAccountViews(uint32_t accountId) override;
    void CloseEnvelopeViews(uint32_t envelopeId) override;
    void RefreshTreeWindows() override { emit TreeWindowsChanged(); }
    void RefreshTransactionViews() override;

    // The open transaction views, and the one showing a subject (null when none).
    QList<TXView*> Views() const;
    TXView* Find(TXViewKind kind, uint32_t id) const;
    // Opens the view of a subject of the open budget or brings it forward; null when there is
    // no budget or no such account, envelope or multiple.
    TXView* Open(TXViewKind kind, uint32_t id, TLedgerMode mode = TLedgerMode::Normal);

    // The transaction view options changed: every open view lays itself out again.
    void RelayViews();

signals:
    void TreeWindowsChanged();
    // The active view's commands may be offered differently now.
    void ViewCommandsChanged();
    // A view asked for "Transaction View Setup".
    void ConfigurationRequested();

private:
    // Closes views at once, without their closing question: what they show is going away.
    void CloseWhere(bool (*shows)(const TXView&, uint32_t), uint32_t id);

    QMdiArea& client;
};
