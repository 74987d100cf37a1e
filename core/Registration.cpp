#include "core/ObjectStream.h"

#include "accounts/Account.h"
#include "accounts/AccountGroup.h"
#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "app/QuilletConfig.h"
#include "transactions/XManager.h"

// Every persistent class of the budget and configuration files registers here, before any stream
// is opened. Each line is added by the module that owns the class.
void RegisterQuilletClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterStreamable<TQuilletConfig>("TQuilletConfig");
    RegisterStreamable<TXManager>("TXManager");
    RegisterStreamable<TAccount>("TAccount");
    RegisterStreamable<TAccountGroup>("TAccountGroup");
    RegisterStreamable<TAccountList>("TAccountList");
    RegisterStreamable<TAccountRoot>("TAccountRoot");
}
