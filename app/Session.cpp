#include "app/Session.h"

#include <utility>

#include "app/BudgetFile.h"
#include "app/FileLock.h"
#include "core/Idler.h"
#include "core/QuilletData.h"

void TAutoSaveCounter::Tick(uint32_t intervalMinutes) {
    if (intervalMinutes == 0 || state != TState::Idle) return;
    if (++minutes > static_cast<int32_t>(intervalMinutes)) state = TState::Due;
}

void TAutoSaveCounter::Reset() {
    minutes = 0;
    state = TState::Idle;
}

bool TAutoSaveCounter::BeginSave() {
    if (state != TState::Due) return false;
    state = TState::Saving;
    return true;
}

TSession::TSession(TPlatformPort& platform) : platform(platform) {}

TSession::~TSession() {
    Close();
}

void TSession::Open(std::unique_ptr<TQuilletData> doc, std::string file,
                    std::unique_ptr<TFileLock> fileLock) {
    Close();
    document = std::move(doc);
    path = std::move(file);
    lock = std::move(fileLock);
    autoSave.Reset();
    TQuilletData::SetCurrent(document.get());
}

bool TSession::Load(const std::string& file, std::unique_ptr<TFileLock> fileLock,
                    std::string& error) {
    std::unique_ptr<TQuilletData> read = LoadBudgetFile(file, error);
    if (!read) return false;
    Open(std::move(read), file, std::move(fileLock));
    return true;
}

void TSession::Rename(std::string file, std::unique_ptr<TFileLock> fileLock) {
    path = std::move(file);
    lock = std::move(fileLock);
}

bool TSession::Save(std::string& error) {
    if (!document || path.empty()) {
        error = document ? "the budget has no file name yet" : "no budget is open";
        return false;
    }
    if (!SaveBudgetFile(*document, path, platform, error)) return false;
    autoSave.Reset();
    return true;
}

void TSession::Close() {
    if (TQuilletData::Current() == document.get()) TQuilletData::SetCurrent(nullptr);
    document.reset();
    path.clear();
    lock.reset();
}

void TSession::IdlePass() {
    if (idling) return;
    idling = true;
    if (autoSave.BeginSave()) {
        if (saveCommand) {
            saveCommand();
        } else {
            std::string ignored;
            Save(ignored);
        }
        autoSave.Reset();
    }
    TIdler::RunIdlers();
    idling = false;
}
