#include "cli/BudgetWriter.h"

#include <iostream>

#include "app/BudgetCheck.h"
#include "app/BudgetFile.h"
#include "core/QuilletData.h"

TBudgetWriter::TBudgetWriter(const char* c, std::string p) : command(c), path(std::move(p)) {}

TBudgetWriter::~TBudgetWriter() = default;

bool TBudgetWriter::Lock() {
    if (lock) return true;
    TLinuxFileLocks locks;
    std::string error;
    lock = locks.TryLock(LockName(locks.FullPath(path)), error);
    if (lock) return true;
    std::cerr << "quillet-cli " << command << ": "
              << (error.empty() ? LockRefusedMessage(path)
                                : "cannot lock \"" + path + "\": " + error)
              << "\n";
    return false;
}

std::unique_ptr<TQuilletData> TBudgetWriter::Open(int& status) {
    status = 1;
    if (!Lock()) return nullptr;
    std::string error;
    std::unique_ptr<TQuilletData> doc = LoadBudgetFile(path, error);
    if (!doc) {
        std::cerr << "quillet-cli " << command << ": " << path << ": " << error << "\n";
        status = 2;
        return nullptr;
    }
    if (!TotalsAgreeIn(*doc, path)) return nullptr;
    status = 0;
    return doc;
}

bool TBudgetWriter::TotalsAgreeIn(TQuilletData& doc, const std::string& from) {
    if (TotalsAgree(doc)) return true;
    std::cerr << "quillet-cli " << command << ": " << from << ": " << TotalsDisagreeMessage << "\n";
    return false;
}

bool TBudgetWriter::Save(TQuilletData& doc) {
    if (!Lock()) return false;
    std::string error;
    if (SaveBudgetFile(doc, path, platform, error)) return true;
    std::cerr << "quillet-cli " << command << ": " << path << ": " << error << "\n";
    return false;
}
