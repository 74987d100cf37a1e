#include "app/Registration.h"

#include "core/ObjectStream.h"

#include "accounts/Account.h"
#include "accounts/AccountGroup.h"
#include "accounts/AccountList.h"
#include "accounts/AccountRoot.h"
#include "app/QuilletConfig.h"
#include "core/QuilletData.h"
#include "envelopes/Association.h"
#include "envelopes/Bundle.h"
#include "envelopes/Env.h"
#include "envelopes/EnvelopeAlias.h"
#include "envelopes/EnvelopeList.h"
#include "envelopes/EnvelopeRoot.h"
#include "transactions/XManager.h"

// Every persistent class of the budget and configuration files registers here, before any stream
// is opened. Each line is added by the module that owns the class.
void RegisterQuilletClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    RegisterStreamable<TQuilletConfig>("TQuilletConfig");
    RegisterStreamable<TQuilletData>("TQuilletData");
    RegisterStreamable<TXManager>("TXManager");
    RegisterStreamable<TEnv>("TEnv");
    RegisterStreamable<TBundle>("TBundle");
    RegisterStreamable<TAssociation>("TAssociation");
    RegisterStreamable<TEnvelopeAlias>("TEnvelopeAlias");
    RegisterStreamable<TEnvelopeList>("TEnvelopeList");
    RegisterStreamable<TEnvelopeRoot>("TEnvelopeRoot");
    RegisterStreamable<TAccount>("TAccount");
    RegisterStreamable<TAccountGroup>("TAccountGroup");
    RegisterStreamable<TAccountList>("TAccountList");
    RegisterStreamable<TAccountRoot>("TAccountRoot");
}
