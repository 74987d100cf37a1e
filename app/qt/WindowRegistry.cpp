#include "app/qt/WindowRegistry.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "core/QuilletData.h"
#include "views/qt/XView.h"

TWindowRegistry::TWindowRegistry(QMdiArea& client, QObject* parent)
    : QObject(parent), client(client) {}

QList<TXView*> TWindowRegistry::Views() const {
    QList<TXView*> views;
    for (QMdiSubWindow* window : client.subWindowList()) {
        if (auto* view = qobject_cast<TXView*>(window->widget())) views.append(view);
    }
    return views;
}

TXView* TWindowRegistry::Find(TXViewKind kind, uint32_t id) const {
    for (TXView* view : Views()) {
        if (view->Shows(kind, id)) return view;
    }
    return nullptr;
}

TXView* TWindowRegistry::Open(TXViewKind kind, uint32_t id, TLedgerMode mode) {
    TQuilletData* doc = TQuilletData::Current();
    if (!doc || !TXViewSubject(*doc, kind, id).Exists()) return nullptr;
    TXView* view = Find(kind, id);
    QMdiSubWindow* window = nullptr;
    if (view) {
        window = qobject_cast<QMdiSubWindow*>(view->parentWidget());
        if (window && window->isMinimized()) window->showNormal();
    } else {
        view = new TXView(*doc, kind, id);
        connect(view, &TXView::CommandsChanged, this, [this, view] {
            QMdiSubWindow* active = client.activeSubWindow();
            if (active && active->widget() == view) emit ViewCommandsChanged();
        });
        connect(view, &TXView::ConfigurationRequested, this,
                &TWindowRegistry::ConfigurationRequested);
        window = client.addSubWindow(view);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setObjectName(QString("%1Window").arg(view->objectName()));
        const QSize area = client.viewport()->size();
        window->resize(std::max(area.width() * 3 / 4, 320), std::max(area.height() * 2 / 3, 200));
        window->show();
        // The area cascades new windows; one that would reach past its right or bottom edge
        // moves back in, so that its total stays in sight.
        const QRect placed = window->geometry();
        window->move(std::max(0, std::min(placed.x(), area.width() - placed.width())),
                     std::max(0, std::min(placed.y(), area.height() - placed.height())));
    }
    if (mode == TLedgerMode::Reconcile) view->ShowReconcile();
    if (window) client.setActiveSubWindow(window);
    view->setFocus();
    return view;
}

void TWindowRegistry::OpenAccountLedger(uint32_t accountId, TLedgerMode mode) {
    Open(TXViewKind::Account, accountId, mode);
}

void TWindowRegistry::OpenEnvelopeLedger(uint32_t envelopeId, TLedgerMode mode) {
    Open(TXViewKind::Envelope, envelopeId, mode);
}

void TWindowRegistry::OpenMultipleView(uint32_t multipleId) {
    Open(TXViewKind::Multiple, multipleId);
}

void TWindowRegistry::CloseWhere(bool (*shows)(const TXView&, uint32_t), uint32_t id) {
    for (TXView* view : Views()) {
        if (!shows(*view, id)) continue;
        auto* window = qobject_cast<QMdiSubWindow*>(view->parentWidget());
        view->CloseView(true);
        // At once rather than later: the records it holds are about to go.
        delete window;
    }
}

void TWindowRegistry::CloseAccountViews(uint32_t accountId) {
    CloseWhere([](const TXView& view, uint32_t id) { return view.Subject().AccountId() == id; },
               accountId);
}

void TWindowRegistry::CloseEnvelopeViews(uint32_t envelopeId) {
    CloseWhere([](const TXView& view, uint32_t id) { return view.Shows(TXViewKind::Envelope, id); },
               envelopeId);
}

void TWindowRegistry::RefreshTransactionViews() {
    for (TXView* view : Views())
        view->Refresh();
}

void TWindowRegistry::RelayViews() {
    for (TXView* view : Views())
        view->Relayout();
}
