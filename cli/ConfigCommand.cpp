#include <iostream>

#include "app/QuilletConfig.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "platform/Platform.h"

namespace {

void WriteOptions(TJsonWriter& json, const TQuilletOptions& o) {
    json.Key("options").BeginObject();
    json.Member("windowWidth", o.windowWidth);
    json.Member("windowHeight", o.windowHeight);
    json.Member("windowX", o.windowX);
    json.Member("windowY", o.windowY);
    json.Key("maximised").Bool(o.maximised);
    json.Member("showStatusBar", o.showStatusBar);
    json.Member("showControlBar", o.showControlBar);
    json.Member("reopenLastFile", o.reopenLastFile);
    json.Member("autoSaveMinutes", o.autoSaveMinutes);
    json.Member("backupLevels", o.backupLevels);
    json.Member("confirmClearedOnClose", o.confirmClearedOnClose);
    json.Member("confirmImportOnClose", o.confirmImportOnClose);
    json.Member("updateCheckDays", o.updateCheckDays);
    json.Member("lastUpdateCheck", o.lastUpdateCheck.Format(DateLongYear));
    json.Member("envShowRootBalance", o.envShowRootBalance);
    json.Member("envShowBundleBalances", o.envShowBundleBalances);
    json.Member("envShowAssociationBalances", o.envShowAssociationBalances);
    json.Member("envShowEnvelopeBalances", o.envShowEnvelopeBalances);
    json.Member("actShowRootBalance", o.actShowRootBalance);
    json.Member("actShowGroupBalances", o.actShowGroupBalances);
    json.Member("actShowAccountBalances", o.actShowAccountBalances);
    json.Member("actShowReconcileBalances", o.actShowReconcileBalances);
    json.Member("codeWidth", o.codeWidth);
    json.Member("payableToWidth", o.payableToWidth);
    json.Member("memoWidth", o.memoWidth);
    json.Member("amountWidth", o.amountWidth);
    json.Member("envelopeLabelWidth", o.envelopeLabelWidth);
    json.Member("accountLabelWidth", o.accountLabelWidth);
    json.Member("includeYear", o.includeYear);
    json.Member("flyByMemo", o.flyByMemo);
    json.Member("autoCorrectYear", o.autoCorrectYear);
    // A path in the file system's own encoding, not record text.
    json.Member("lastFile", o.lastFile);
    json.EndObject();
}

}  // namespace

int RunConfigCommand(const TCommandArgs& args) {
    if (!args.empty()) {
        std::cerr << "usage: quillet-cli config\n";
        return 2;
    }
    TLinuxPlatform platform;
    TFixedScreen screen(1920, 1080);
    TConfigFile file(platform, screen);
    file.FindPath();
    std::string error;
    if (!file.Load(&error)) {
        std::cerr << "quillet-cli config: cannot write the configuration file \"" << file.Path()
                  << "\": " << error << "\n";
        return 2;
    }

    TJsonWriter json;
    json.BeginObject();
    json.Member("file", file.Path());
    WriteOptions(json, file.Options());
    json.Key("settings").BeginArray();
    for (const TSettingsEntry& e : file.Settings().Entries()) {
        json.BeginObject();
        json.Key("key").Text(e.key);
        json.Key("value").Text(e.value);
        json.Member("qualifier", e.qualifier);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    std::cout << json.str();
    return 0;
}
