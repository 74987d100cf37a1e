#include "import/ImportOptions.h"

#include "core/SettingsList.h"

namespace {

// Tells "the budget file has no options for this account" from every stored value.
constexpr int32_t Missing = 9999;

int32_t Qualifier(uint32_t accountId) {
    return static_cast<int32_t>(accountId);
}

TImportOptions ReadFrom(const TSettingsList& settings, int32_t qualifier, uint32_t envelope) {
    using namespace ImportKeys;
    TImportOptions defaults;
    TImportOptions o;
    o.automatic = settings.GetInt(Automatic, defaults.automatic, qualifier);
    o.all = settings.GetInt(All, defaults.all, qualifier);
    o.onlyNewer = settings.GetInt(OnlyNewer, defaults.onlyNewer, qualifier);
    o.onlyNewerDate = TDate(static_cast<uint32_t>(settings.GetInt(
        OnlyNewerDate, static_cast<int32_t>(defaults.onlyNewerDate.Key()), qualifier)));
    o.envelope =
        static_cast<uint32_t>(settings.GetInt(Envelope, static_cast<int32_t>(envelope), qualifier));
    o.copyPayableTo = settings.GetInt(CopyPayableTo, defaults.copyPayableTo, qualifier);
    o.ignoreCheckNo = settings.GetInt(IgnoreCheckNo, defaults.ignoreCheckNo, qualifier);
    // The dialog's code fields hold at most this many characters.
    o.codePos =
        settings.GetString(CodePos, defaults.codePos, qualifier).substr(0, ImportCodeLength);
    o.codeNeg =
        settings.GetString(CodeNeg, defaults.codeNeg, qualifier).substr(0, ImportCodeLength);
    return o;
}

void WriteTo(TSettingsList& settings, int32_t qualifier, const TImportOptions& o) {
    using namespace ImportKeys;
    settings.SetInt(Automatic, o.automatic, qualifier);
    settings.SetInt(All, o.all, qualifier);
    settings.SetInt(OnlyNewer, o.onlyNewer, qualifier);
    settings.SetInt(OnlyNewerDate, static_cast<int32_t>(o.onlyNewerDate.Key()), qualifier);
    settings.SetInt(Envelope, static_cast<int32_t>(o.envelope), qualifier);
    settings.SetInt(CopyPayableTo, o.copyPayableTo, qualifier);
    settings.SetInt(IgnoreCheckNo, o.ignoreCheckNo, qualifier);
    settings.SetString(CodePos, o.codePos, qualifier);
    settings.SetString(CodeNeg, o.codeNeg, qualifier);
}

}  // namespace

TImportOptions LoadImportOptions(TSettingsList& documentSettings,
                                 const TSettingsList& configSettings, uint32_t accountId,
                                 uint32_t defaultEnvelopeId,
                                 const std::function<void()>& markModified) {
    int32_t qualifier = Qualifier(accountId);
    if (documentSettings.GetInt(ImportKeys::Automatic, Missing, qualifier) != Missing)
        return ReadFrom(documentSettings, qualifier, defaultEnvelopeId);
    TImportOptions options = ReadFrom(configSettings, qualifier, defaultEnvelopeId);
    WriteTo(documentSettings, qualifier, options);
    if (markModified) markModified();
    return options;
}

void StoreImportOptions(TSettingsList& documentSettings, uint32_t accountId,
                        const TImportOptions& options, const std::function<void()>& markModified) {
    WriteTo(documentSettings, Qualifier(accountId), options);
    if (markModified) markModified();
}
