#include "transactions/XList.h"

#include "transactions/XManager.h"

TXList::TXList(TXManager& manager) : manager(&manager) {
    manager.AddObserver(this);
}

TXList::~TXList() {
    if (manager) manager->RemoveObserver(this);
}
