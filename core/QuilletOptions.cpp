#include "core/QuilletOptions.h"

#include <algorithm>
#include <type_traits>

namespace {

// Assigns only what was really read: a failed stream leaves the field as it was.
template <class T>
void Take(ipstream& is, T& field, uint32_t value) {
    if (is.good()) field = static_cast<T>(value);
}

const TQuilletOptions defaults;
const TQuilletOptions* current = &defaults;

}  // namespace

const TQuilletOptions& CurrentOptions() {
    return *current;
}

void SetCurrentOptions(const TQuilletOptions* options) {
    current = options ? options : &defaults;
}

// ---------------------------------------------------------------------------------------------
// The option record

void TQuilletOptions::SetScreenDefaults(const TScreenPort& screen) {
    windowWidth = screen.ScreenWidth() * 4 / 5;
    windowHeight = screen.ScreenHeight() * 4 / 5;
    windowX = screen.ScreenWidth() / 10;
    windowY = screen.ScreenHeight() / 10;
}

void TQuilletOptions::Write(opstream& os) const {
    os.writeWord32(Layout);
    const uint32_t words[18] = {
        static_cast<uint32_t>(showStatusBar),
        static_cast<uint32_t>(showControlBar),
        autoSaveMinutes,
        static_cast<uint32_t>(envShowRootBalance),
        static_cast<uint32_t>(envShowBundleBalances),
        static_cast<uint32_t>(envShowAssociationBalances),
        static_cast<uint32_t>(envShowEnvelopeBalances),
        static_cast<uint32_t>(actShowRootBalance),
        static_cast<uint32_t>(actShowGroupBalances),
        static_cast<uint32_t>(actShowAccountBalances),
        static_cast<uint32_t>(actShowReconcileBalances),
        codeWidth,
        payableToWidth,
        amountWidth,
        envelopeLabelWidth,
        accountLabelWidth,
        static_cast<uint32_t>(includeYear),
        static_cast<uint32_t>(flyByMemo),
    };
    for (uint32_t w : words)
        os.writeWord(w);
    os.writeInt(windowWidth);
    os.writeInt(windowHeight);
    os.writeInt(windowX);
    os.writeInt(windowY);
    os.writeBool(maximised);
    os.writeWord(backupLevels);
    os.writeWord(static_cast<uint32_t>(reopenLastFile));
    os.writeString(lastFile.substr(0, LastFileCapacity - 1));
    os.writeWord(memoWidth);
    os.writeWord(static_cast<uint32_t>(autoCorrectYear));
    os.writeWord(static_cast<uint32_t>(confirmClearedOnClose));
    os.writeWord(static_cast<uint32_t>(confirmImportOnClose));
    os.writeWord(updateCheckDays);
    os.writeByte(static_cast<uint8_t>(lastUpdateCheck.Day()));
    os.writeByte(static_cast<uint8_t>(lastUpdateCheck.Month()));
    os.writeWord(static_cast<uint32_t>(lastUpdateCheck.Year()));
}

void TQuilletOptions::Read(ipstream& is) {
    uint32_t layout = is.readWord32();
    if (!is.good()) return;
    layoutRead = layout;

    int32_t* const words[18] = {
        &showStatusBar,
        &showControlBar,
        nullptr,  // auto-save minutes (unsigned)
        &envShowRootBalance,
        &envShowBundleBalances,
        &envShowAssociationBalances,
        &envShowEnvelopeBalances,
        &actShowRootBalance,
        &actShowGroupBalances,
        &actShowAccountBalances,
        &actShowReconcileBalances,
        nullptr,  // the five widths (unsigned)
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        &includeYear,
        &flyByMemo,
    };
    uint32_t* const unsignedWords[18] = {
        nullptr,
        nullptr,
        &autoSaveMinutes,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        nullptr,
        &codeWidth,
        &payableToWidth,
        &amountWidth,
        &envelopeLabelWidth,
        &accountLabelWidth,
        nullptr,
        nullptr,
    };
    for (int i = 0; i < 18; ++i) {
        uint32_t v = is.readWord();
        if (words[i]) Take(is, *words[i], v);
        if (unsignedWords[i]) Take(is, *unsignedWords[i], v);
    }
    if (layout > 1) {
        Take(is, windowWidth, is.readWord32());
        Take(is, windowHeight, is.readWord32());
        Take(is, windowX, is.readWord32());
        Take(is, windowY, is.readWord32());
        bool m = is.readBool();
        if (is.good()) maximised = m;
    }
    if (layout > 2) Take(is, backupLevels, is.readWord());
    if (layout > 3) {
        Take(is, reopenLastFile, is.readWord());
        char buffer[LastFileCapacity] = "";
        if (is.readString(buffer, sizeof buffer)) lastFile = buffer;
    }
    if (layout > 4) Take(is, memoWidth, is.readWord());
    if (layout > 5) Take(is, autoCorrectYear, is.readWord());
    if (layout > 6) {
        Take(is, confirmClearedOnClose, is.readWord());
        Take(is, confirmImportOnClose, is.readWord());
    }
    if (layout > 7) {
        Take(is, updateCheckDays, is.readWord());
        uint8_t day = is.readByte();
        uint8_t month = is.readByte();
        uint32_t year = is.readWord();
        if (is.good()) lastUpdateCheck = TDate(day, month, static_cast<int>(year));
    }
}

void TQuilletOptions::KeepInLimits() {
    constexpr int64_t MaxFieldNumber = 99999;  // the five digits the configuration dialog takes
    constexpr int64_t MaxBackupLevels = 999;
    constexpr int64_t MaxScreenExtent = 32767;
    auto limit = [](auto& field, int64_t low, int64_t high) {
        using T = std::remove_reference_t<decltype(field)>;
        field = static_cast<T>(std::clamp<int64_t>(field, low, high));
    };
    limit(codeWidth, 5, 10);
    limit(payableToWidth, 20, 50);
    limit(memoWidth, 0, 50);
    limit(amountWidth, 10, 15);
    limit(envelopeLabelWidth, 15, 30);
    limit(accountLabelWidth, 15, 30);
    limit(autoSaveMinutes, 0, MaxFieldNumber);
    limit(updateCheckDays, 0, MaxFieldNumber);
    limit(backupLevels, 0, MaxBackupLevels);
    limit(windowWidth, 0, MaxScreenExtent);
    limit(windowHeight, 0, MaxScreenExtent);
    limit(windowX, -MaxScreenExtent, MaxScreenExtent);
    limit(windowY, -MaxScreenExtent, MaxScreenExtent);
}
