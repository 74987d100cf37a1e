#include "core/QuilletData.h"

#include "accounts/AccountList.h"
#include "core/UIPort.h"
#include "envelopes/EnvelopeList.h"
#include "plan/AllocationPlan.h"
#include "plan/XTemplateManager.h"
#include "transactions/XManager.h"

namespace {

TQuilletData* currentDocument = nullptr;
// While a document is read no open document is seen: what a file holds never reaches into the
// budget that is open.
thread_local int readingDocuments = 0;
TDocumentObserver* documentObserver = nullptr;

// Marks what follows the document date: 258 says no legacy section, 257 that one follows.
constexpr uint32_t NoLegacySection = 258;
constexpr uint32_t LegacySection = 257;
constexpr size_t LegacyTextCapacity = 260;

void ReadLegacySection(ipstream& is) {
    uint32_t n = is.readWord();
    char text[LegacyTextCapacity];
    for (uint32_t i = 0; i < n && is.good(); ++i) {
        is.readWord();
        is.readString(text, sizeof text);
    }
    is.readInt();
    is.readString(text, sizeof text);
}

}  // namespace

void TChildPlacement::Write(opstream& os) const {
    os.writeWord32(1);
    os.writeInt(width);
    os.writeInt(height);
    os.writeInt(x);
    os.writeInt(y);
    os.writeWord32(static_cast<uint32_t>(show));
    os.writeBool(open);
}

void TChildPlacement::Read(ipstream& is, bool first) {
    if (!first) is.readWord32();  // layout number, only one layout exists
    width = is.readInt();
    height = is.readInt();
    x = is.readInt();
    y = is.readInt();
    show = static_cast<int32_t>(is.readWord32());
    open = is.readBool();
}

TQuilletData::TQuilletData()
    : xmanager(std::make_unique<TXManager>()),
      accounts(std::make_unique<TAccountList>()),
      envelopes(std::make_unique<TEnvelopeList>()),
      templates(std::make_unique<TXTemplateManager>()),
      plan(std::make_unique<TAllocationPlan>(*this)),
      date(TDate::Today()) {
    xmanager->SetDocument(this);
}

TQuilletData::~TQuilletData() {
    suppressed = true;
    if (currentDocument == this) currentDocument = nullptr;
    // Transactions go first: they refer to accounts and envelopes, never the other way round.
    plan.reset();
    templates.reset();
    xmanager.reset();
    envelopes.reset();
    accounts.reset();
}

TQuilletData* TQuilletData::Current() {
    return readingDocuments ? nullptr : currentDocument;
}
void TQuilletData::SetCurrent(TQuilletData* doc) {
    currentDocument = doc;
}
void TQuilletData::SetObserver(TDocumentObserver* observer) {
    documentObserver = observer;
}

void TQuilletData::SetModified() {
    if (suppressed) return;
    modified = true;
    if (documentObserver && currentDocument == this) documentObserver->ModifiedChanged(true);
}

void TQuilletData::ClearModified() {
    modified = false;
    if (documentObserver && currentDocument == this) documentObserver->ModifiedChanged(false);
}

TStreamableBase* TQuilletData::Streamer::Read(ipstream& is, uint32_t version) const {
    struct TReading {
        TReading() { ++readingDocuments; }
        ~TReading() { --readingDocuments; }
    } reading;
    TQuilletData* doc = Doc();
    doc->suppressed = false;
    doc->templates = std::make_unique<TXTemplateManager>();
    doc->accountsPlacement = TChildPlacement();
    doc->envelopesPlacement = TChildPlacement();

    // A record of another class, or a back reference to an object that already has an owner,
    // yields an empty member rather than a shared or foreign one.
    if (auto envelopes = is.ReadObject<TEnvelopeList>()) doc->envelopes = std::move(envelopes);
    if (auto accounts = is.ReadObject<TAccountList>()) doc->accounts = std::move(accounts);
    if (auto xmanager = is.ReadObject<TXManager>()) doc->xmanager = std::move(xmanager);
    doc->xmanager->SetDocument(doc);

    doc->templates->Read(is);

    bool firstForm = version < 2;
    doc->envelopesPlacement.Read(is, firstForm);
    doc->accountsPlacement.Read(is, firstForm);

    if (version < 3) {
        doc->date = TDate::Today();
    } else {
        int day = is.readByte();
        int month = is.readByte();
        int year = static_cast<int>(is.readWord32() & 0xFFFF);
        doc->date = TDate(day, month, year);
    }
    if (version > 3) {
        if (is.readWord32() == LegacySection) ReadLegacySection(is);
    }
    if (version > 4) doc->settings.Read(is);
    if (version > 5) {
        UI().Message("Unable to Open File",
                     "Quillet is unable to open this file.\n\nThe file was last edited with a "
                     "newer version of the software.",
                     TMsgButtons::Ok, TMsgIcon::Stop);
        throw TXBase("Attempt to open new format file.\n");
    }
    doc->ClearModified();
    doc->fresh = true;
    return doc;
}

void TQuilletData::Streamer::Write(opstream& os) const {
    TQuilletData* doc = Doc();
    os << doc->envelopes.get();
    os << doc->accounts.get();
    os << doc->xmanager.get();
    doc->templates->Write(os);
    doc->envelopesPlacement.Write(os);
    doc->accountsPlacement.Write(os);
    os.writeByte(static_cast<uint8_t>(doc->date.Day()));
    os.writeByte(static_cast<uint8_t>(doc->date.Month()));
    os.writeWord32(static_cast<uint32_t>(doc->date.Year()));
    os.writeWord32(NoLegacySection);
    doc->settings.Write(os);
    doc->ClearModified();
    doc->fresh = false;
}
