// The option record of the configuration file, and the options the budgeting rules read while
// the program runs ("Auto-Correct Year", "Include Year" ...). The program points CurrentOptions at
// its configuration once it is loaded; until then, and in tests that set nothing, the options of
// a new configuration apply.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/Date.h"
#include "core/ObjectStream.h"
#include "core/ScreenPort.h"

// The option record, fields in declaration order.
struct TQuilletOptions {
    int32_t windowWidth = 0, windowHeight = 0;  // main window size when last restored
    int32_t windowX = 0, windowY = 0;           // main window position when last restored
    bool maximised = false;
    int32_t showStatusBar = 1;
    int32_t showControlBar = 1;
    int32_t reopenLastFile = 1;
    uint32_t autoSaveMinutes = 5;  // 0 turns auto-save off
    uint32_t backupLevels = 5;     // 0 turns backups off
    int32_t confirmClearedOnClose = 1;
    int32_t confirmImportOnClose = 1;
    uint32_t updateCheckDays = 30;  // 0 never reminds
    TDate lastUpdateCheck{1, 1, 2008};
    int32_t envShowRootBalance = 1;
    int32_t envShowBundleBalances = 1;
    int32_t envShowAssociationBalances = 0;
    int32_t envShowEnvelopeBalances = 1;
    int32_t actShowRootBalance = 1;
    int32_t actShowGroupBalances = 1;
    int32_t actShowAccountBalances = 1;
    int32_t actShowReconcileBalances = 0;
    uint32_t codeWidth = 7;
    uint32_t payableToWidth = 35;
    uint32_t memoWidth = 0;
    uint32_t amountWidth = 11;
    uint32_t envelopeLabelWidth = 17;
    uint32_t accountLabelWidth = 17;
    int32_t includeYear = 0;
    int32_t flyByMemo = 0;
    int32_t autoCorrectYear = 1;
    // At most 259 characters. A path, kept in the file system's own encoding (not converted
    // to the code page of record text) so that reopening finds the same file.
    std::string lastFile;

    // Layout number of the record last read from a file; 0 when the record was never read.
    // Records of layout 1 carry no window placement, so their reader keeps the screen defaults.
    uint32_t layoutRead = 0;

    // Defaults that depend on the screen: 4/5 of its size, one tenth in from the top left.
    void SetScreenDefaults(const TScreenPort& screen);

    static constexpr uint32_t Layout = 8;
    static constexpr size_t LastFileCapacity = 260;  // terminator included
    // Always writes the current layout. Reads every older layout; fields an older layout does
    // not hold keep their values.
    void Write(opstream& os) const;
    void Read(ipstream& is);
    // Brings values a damaged or hand-edited file may hold into the limits the program works
    // in: ledger widths into the ranges of their dialog, numbers of minutes, days and backups
    // to what their fields can take, and the window onto a plausible screen.
    void KeepInLimits();
};

const TQuilletOptions& CurrentOptions();
// The options must outlive their use; null restores the defaults.
void SetCurrentOptions(const TQuilletOptions* options);
