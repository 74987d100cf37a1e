#include "reports/FormPreview.h"

#include <algorithm>

#include "core/QuilletOptions.h"
#include "core/SettingsList.h"

namespace {
constexpr const char* WidthKey = "Preview.Width";
constexpr const char* HeightKey = "Preview.Height";
constexpr int MinWidth = 780;
constexpr int MinHeight = 520;
}  // namespace

TPreviewSize PreviewSize(const TScreenPort& screen, const TSettingsList* settings) {
    TPreviewSize size;
    size.width = std::max(static_cast<int>(screen.ScreenWidth() * 0.75), MinWidth);
    size.height = std::max(static_cast<int>(screen.ScreenHeight() * 0.75), MinHeight);
    if (settings) {
        // A stored size that makes no sense gives way to the default.
        const int32_t width = settings->GetInt(WidthKey, 0);
        const int32_t height = settings->GetInt(HeightKey, 0);
        if (width > 0) size.width = width;
        if (height > 0) size.height = height;
    }
    return size;
}

void StorePreviewSize(TSettingsList* settings, const TPreviewSize& size) {
    if (!settings) return;
    settings->SetInt(WidthKey, size.width);
    settings->SetInt(HeightKey, size.height);
}
