#include "app/BudgetFile.h"

#include <filesystem>
#include <fstream>
#include <unordered_set>

#include "accounts/AccountList.h"
#include "accounts/AccountNode.h"
#include "app/PlatformPort.h"
#include "app/Registration.h"
#include "core/ObjectStream.h"
#include "core/QuilletData.h"
#include "transactions/XManager.h"

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
    // A pipe would block the reader for ever and a folder has no bytes to read.
    std::error_code ec;
    std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        error = "not a regular file";
        return false;
    }
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        error = "the file cannot be opened";
        return false;
    }
    std::streamoff size = in.tellg();
    if (size < 0 || !in.seekg(0)) {
        error = "the file cannot be read";
        return false;
    }
    bytes.resize(static_cast<size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        error = "the file cannot be read";
        return false;
    }
    return true;
}

std::unique_ptr<TQuilletData> ReadBudget(const std::vector<uint8_t>& bytes, std::string& error) {
    RegisterQuilletClasses();
    imemstream is(bytes);
    if (!is.good()) {
        error = "the file is empty";
        return nullptr;
    }
    std::unique_ptr<TQuilletData> doc;
    try {
        doc = is.ReadObject<TQuilletData>();
    } catch (const TXBase& e) {
        error = e.what();
        while (!error.empty() && error.back() == '\n')
            error.pop_back();
        return nullptr;
    }
    if (!is.good()) {
        error = "the file is damaged or incomplete";
        return nullptr;
    }
    if (!doc) {
        error = "the file holds no budget";
        return nullptr;
    }
    // Accounts are found by id: two nodes of the account tree under one id would let a lookup
    // for the account reach a group, so such a file is refused.
    std::unordered_set<uint32_t> nodeIds;
    for (const TTreeItem* n = doc->GetAccounts().GetRoot(); n; n = n->Next(true)) {
        const auto* node = dynamic_cast<const TAccountNode*>(n);
        if (node && !nodeIds.insert(node->GetId()).second) {
            error = "two items of the account list have the id " + std::to_string(node->GetId());
            return nullptr;
        }
    }
    // Transactions are found, shared and linked by id: a record in use without one, or with one
    // another record has, could never be reached safely, so such a file is refused.
    TXManager& records = doc->GetXManager();
    std::unordered_set<uint32_t> ids;
    for (uint32_t p = 1; p <= records.GetCount(); ++p) {
        const TXRecord& r = records.RecordAt(p);
        if (r.IsFree()) continue;
        if (r.id == 0 || !ids.insert(r.id).second) {
            error = "transaction record " + std::to_string(p) +
                    (r.id == 0 ? " has no id"
                               : " has the id of another (" + std::to_string(r.id) + ")");
            return nullptr;
        }
    }
    // Ids are handed out one after another from 1, so no budget comes near the top of their range;
    // a record holding such an id is damage, and would leave no id for the next new record.
    constexpr uint32_t LargestSoundId = 0x7FFFFFFF;
    for (uint32_t p = 1; p <= records.GetCount(); ++p) {
        const uint32_t id = records.RecordAt(p).id;
        if (id > LargestSoundId) {
            error = "transaction record " + std::to_string(p) + " has an id (" +
                    std::to_string(id) + ") beyond any a budget reaches";
            return nullptr;
        }
    }
    // A free slot holds nothing, but its id is given to the next new record: one without a usable
    // id is given a fresh one rather than refusing the file.
    for (uint32_t p = 1; p <= records.GetCount(); ++p) {
        const TXRecord& r = records.RecordAt(p);
        if (!r.IsFree() || (r.id != 0 && ids.insert(r.id).second)) continue;
        if (!records.ReissueFreeSlot(p) || !ids.insert(records.RecordAt(p).id).second) {
            error = "transaction record " + std::to_string(p) + " has no usable id";
            return nullptr;
        }
    }
    // Rows a view left uncommitted or unsorted when the file was written are settled now, by
    // this document's own lists.
    TXManager& store = doc->GetXManager();
    store.Flush();
    return doc;
}

std::unique_ptr<TQuilletData> LoadBudgetFile(const std::string& path, std::string& error) {
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, error)) return nullptr;
    return ReadBudget(bytes, error);
}

std::vector<uint8_t> WriteBudget(TQuilletData& doc) {
    RegisterQuilletClasses();
    // Room for the record block and the rest at once, so a large budget is not copied as it grows.
    omemstream os(true, static_cast<size_t>(doc.GetXManager().GetCount()) * 256 + 65536);
    os << &doc;
    return os.take();
}

bool SaveBudgetFile(TQuilletData& doc, const std::string& path, TPlatformPort& platform,
                    std::string& error) {
    if (platform.ReplaceFile(path, WriteBudget(doc), error)) return true;
    // Nothing reached the disk: the changes are still unsaved.
    doc.SetModified();
    return false;
}
