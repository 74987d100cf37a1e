// The size the print preview opens at: a remembered size shared by every report, or a share of
// the screen.
#pragma once

class TScreenPort;
class TSettingsList;

struct TPreviewSize {
    int width = 0;
    int height = 0;
    bool operator==(const TPreviewSize&) const = default;
};

// 0.75 of the screen (truncated), at least 780 x 520, replaced by "Preview.Width" and
// "Preview.Height" from `settings` when they hold a positive value.
TPreviewSize PreviewSize(const TScreenPort& screen, const TSettingsList* settings);
// Remembers the size the preview closed at.
void StorePreviewSize(TSettingsList* settings, const TPreviewSize& size);
