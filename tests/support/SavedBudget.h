// A budget built through the domain, as the program builds one, and saved to a file; for tests
// that open, run or import into budgets on disk.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "app/BudgetFile.h"
#include "app/NewBudget.h"
#include "core/QuilletData.h"
#include "platform/Platform.h"

// The document is the open one while build runs, as the commands that change it expect.
inline std::string SaveBudget(const std::filesystem::path& path,
                              const std::function<void(TQuilletData&)>& build) {
    TQuilletData doc;
    {
        TCurrentDocument current(doc);
        build(doc);
    }
    TLinuxPlatform platform;
    std::string error;
    EXPECT_TRUE(SaveBudgetFile(doc, path.string(), platform, error)) << error;
    return path.string();
}
