#include "views/LedgerGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

class TFakeItem : public TLedgerItem {
public:
    std::unique_ptr<TCellEditor> CreateEditor(uint32_t, unsigned) override { return nullptr; }
    TCellPaint PaintCell(uint32_t, unsigned) const override { return {}; }
    void SetCellText(uint32_t, const std::string&) override {}
    std::string GetCellText(uint32_t) const override { return {}; }
};

// A window of `rows` model rows over `data` stored rows followed by at most ten blank rows.
// Model row r shows stored row start + r - 1, which is also its position.
class TFakeList : public TLedgerList {
public:
    TFakeList(uint32_t rows, uint32_t data) : rows(rows), data(data) {}
    TLedgerItem* GetItem(uint32_t row) override { return &items[start + row - 1]; }
    uint32_t ScrollUp(uint32_t n) override {
        uint32_t k = std::min(n, start - 1);
        start -= k;
        return k;
    }
    uint32_t ScrollDown(uint32_t n) override {
        uint32_t end = start + rows - 1, limit = data + 10;
        uint32_t k = end >= limit ? 0 : std::min(n, limit - end);
        start += k;
        return k;
    }
    void LoadAtTop() override { start = 1, ++loads; }
    void LoadAtEnd() override { start = data > rows / 2 ? data - rows / 2 + 1 : 1, ++loads; }
    uint32_t GetUsedCount() const override { return data >= start ? data - start + 1 : 0; }
    uint32_t GetRowCount() const override { return rows; }
    uint32_t GetPosition(uint32_t row) const override { return start + row - 1; }
    int JumpTo(uint32_t p) override {
        if (p <= 1) return JumpTop;
        if (p > data) return JumpEnd;
        if (p >= start && p < start + rows) return JumpInWindow;
        start = p;
        return JumpStarts;
    }
    uint32_t GetLastPosition() const override { return data; }
    void DeleteRow(uint32_t row) override { deleted.push_back(row); }
    TCellPaint PaintHeader(uint32_t) const override { return {}; }

    uint32_t rows, data, start = 1;
    int loads = 0;
    std::vector<uint32_t> deleted;
    std::map<uint32_t, TFakeItem> items;
};

// A grid of three columns (10, 20, 10 characters), rows 20 pixels high, 12 whole rows visible.
struct LedgerGridTest : ::testing::Test {
    TFakeList model{50, 200};
    TLedgerGrid grid{model, true};
    void SetUp() override {
        grid.AddColumn(5, 10);
        grid.AddColumn(16, 20);
        grid.AddColumn(14, 10);
        grid.LayoutWidth(300);
        grid.LayoutHeight(300, 20);
    }
};

}  // namespace

TEST_F(LedgerGridTest, LayoutDividesTheWidthAndHeight) {
    EXPECT_EQ(grid.CharWidth100(), 740);  // (300 - 4) * 100 / 40
    EXPECT_EQ(grid.ColumnLeft(1), 1);
    EXPECT_EQ(grid.ColumnWidth(1), 74);
    EXPECT_EQ(grid.ColumnLeft(2), 76);
    EXPECT_EQ(grid.ColumnLeft(3), 225);
    EXPECT_EQ(grid.HeaderCell(3).right, 299);  // the last column reaches the edge minus 1
    EXPECT_EQ(grid.VisibleRows(), 12u);        // (300 - 22 - 22) / 20
    EXPECT_EQ(grid.PartialPixels(), 16);
    EXPECT_EQ(grid.BodyCell(2, 1), (TGridRect{1, 42, 75, 62}));
    EXPECT_EQ(grid.FooterCell(1).bottom, 300);
    EXPECT_EQ(grid.RowAt(23), 1u);
    EXPECT_EQ(grid.RowAt(10), 0u);  // the header
    EXPECT_EQ(grid.ColumnAt(80), 2u);

    // The font follows the width up to the system font's height.
    EXPECT_EQ(TLedgerGrid::WantedFontHeight(grid.CharWidth100(), 30), 18);
    EXPECT_EQ(TLedgerGrid::WantedFontHeight(grid.CharWidth100(), 16), 16);
    grid.LayoutWidth(150);
    EXPECT_EQ(TLedgerGrid::WantedFontHeight(grid.CharWidth100(), 30), 9);
    EXPECT_EQ(TLedgerGrid::WantedFontHeight(0, 30), 1);

    // Ten model rows always stay out of sight.
    TFakeList small(15, 5);
    TLedgerGrid other(small, false);
    other.LayoutHeight(1000, 20);
    EXPECT_EQ(other.VisibleRows(), 5u);
}

TEST_F(LedgerGridTest, LoadsPlaceTheCursorOnTheFirstBlankRow) {
    grid.SetPreferredColumn(14);
    grid.LoadAtEnd(false);  // 200 stored: window 176..225, 25 used
    EXPECT_EQ(grid.CursorColumn(), 3u);
    EXPECT_EQ(grid.TopRow(), 25u - 9 + 1);
    EXPECT_EQ(grid.CursorRow(), 10u);
    EXPECT_EQ(model.GetPosition(grid.CurrentModelRow()), 201u);

    // Unchanged and in the same mode: nothing happens unless forced.
    EXPECT_FALSE(grid.LoadAtEnd(false));
    EXPECT_TRUE(grid.LoadAtEnd(true));

    TFakeList few(50, 3);
    TLedgerGrid small(few, true);
    small.LoadAtEnd(false);  // before any layout: placed once rows are visible
    small.LayoutWidth(300);
    small.LayoutHeight(300, 20);
    EXPECT_EQ(small.TopRow(), 1u);
    EXPECT_EQ(small.CursorRow(), 4u);
    EXPECT_EQ(small.CursorColumn(), 1u);
}

TEST_F(LedgerGridTest, MovesWrapAcrossRowsAndScrollAtTheEdges) {
    grid.LoadAtTop(true);
    EXPECT_EQ(grid.Key(TGridKey::Left, 0), TGridAction::None);  // nothing above the first row
    grid.MoveTo(12, 3);
    EXPECT_EQ(grid.Key(TGridKey::Tab, 0), TGridAction::Moved);
    EXPECT_EQ(grid.TopRow(), 2u);
    EXPECT_EQ(grid.CursorRow(), 12u);
    EXPECT_EQ(grid.CursorColumn(), 1u);
    grid.Key(TGridKey::Tab, GridShift);
    EXPECT_EQ(grid.CursorColumn(), 3u);
    EXPECT_EQ(grid.CurrentModelRow(), 12u);

    // Page keys scroll a row and keep the cursor on its data; Ctrl pages a window.
    grid.Key(TGridKey::PageDown, 0);
    EXPECT_EQ(grid.CurrentModelRow(), 12u);
    EXPECT_EQ(grid.TopRow(), 3u);
    grid.Key(TGridKey::PageDown, GridCtrl);
    EXPECT_EQ(grid.TopRow(), 15u);

    // At the model's last page, a row down asks the model to move half its rows.
    grid.MoveTo(12, 1);
    while (grid.TopRow() < 39)
        grid.Key(TGridKey::Down, 0);
    grid.Key(TGridKey::Down, 0);
    EXPECT_EQ(model.start, 26u);
    EXPECT_EQ(grid.TopRow(), 15u);
    EXPECT_EQ(model.GetPosition(grid.TopRow()), 40u);

    // Ctrl+Page Up from near the top of the window moves the model a window back.
    grid.Key(TGridKey::PageUp, GridCtrl);
    EXPECT_EQ(grid.TopRow(), 3u);
    grid.Key(TGridKey::PageUp, GridCtrl);
    EXPECT_EQ(model.start, 14u);
    EXPECT_EQ(grid.TopRow(), 3u);
    grid.Key(TGridKey::Home, GridCtrl);
    EXPECT_EQ(model.start, 1u);
    EXPECT_EQ(grid.LoadMode(), TLedgerLoad::AtTop);
}

TEST_F(LedgerGridTest, RowActionsAndJumps) {
    grid.LoadAtTop(true);
    grid.MoveTo(4, 2);
    EXPECT_EQ(grid.Key(TGridKey::Delete, 0), TGridAction::None);
    EXPECT_TRUE(model.deleted.empty());
    EXPECT_EQ(grid.Key(TGridKey::Delete, GridCtrl), TGridAction::RowAction);
    EXPECT_EQ(model.deleted, std::vector<uint32_t>{4});
    EXPECT_EQ(grid.Key(TGridKey::Enter, GridShift), TGridAction::BeginEdit);

    EXPECT_EQ(grid.ScrollMinimum(), 1u);
    EXPECT_EQ(grid.ScrollMaximum(), 200u);
    EXPECT_EQ(grid.ScrollThumb(), 4u);

    EXPECT_EQ(grid.JumpTo(30), JumpInWindow);
    EXPECT_EQ(grid.TopRow(), 30u);
    EXPECT_EQ(grid.CursorRow(), 1u);
    EXPECT_EQ(grid.JumpTo(48), JumpInWindow);  // past the last page: the last page
    EXPECT_EQ(grid.TopRow(), 39u);
    EXPECT_EQ(grid.CurrentModelRow(), 48u);
    EXPECT_EQ(grid.JumpTo(120), JumpStarts);
    EXPECT_EQ(grid.TopRow(), 1u);
    EXPECT_EQ(grid.ScrollThumb(), 120u);
    EXPECT_EQ(grid.JumpTo(500), JumpEnd);
    EXPECT_EQ(grid.LoadMode(), TLedgerLoad::AtEnd);
    EXPECT_EQ(grid.JumpTo(1), JumpTop);
    EXPECT_EQ(grid.LoadMode(), TLedgerLoad::AtTop);
    EXPECT_EQ(grid.ScrollThumb(), 1u);
}
