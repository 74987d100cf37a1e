// How open transaction views hear about changes to records. A view's list registers with the
// store when made and leaves it when destroyed.
#pragma once

class TXItem;
class TXManager;

class TXList {
public:
    explicit TXList(TXManager& manager);
    virtual ~TXList();
    TXList(const TXList&) = delete;
    TXList& operator=(const TXList&) = delete;

    virtual void ItemChanged(TXItem* item) = 0;
    // The item is being deleted; it is gone once the call returns, so drop every use of it.
    virtual void ItemDeleted(TXItem* item) = 0;
    virtual void ItemAdded(TXItem* item) = 0;

    // Null once the store has gone before the view.
    TXManager* Manager() const { return manager; }

private:
    friend class TXManager;
    TXManager* manager;
};
