// The account and envelope windows: one owner-drawn list window over a tree list, drawing each
// row from the description the tree gives, turning presses, drags and arrow keys into the
// selection rules and node drops, and offering the tree's commands in its Edit and context menus.
#pragma once

#include <QAbstractScrollArea>
#include <QHash>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <functional>
#include <vector>

#include "core/TreeItem.h"
#include "views/TreeSelection.h"
#include "views/qt/ChildCommands.h"

class QAction;
class QMenu;
class QTimer;
class TAccountList;
class TEnvelopeList;

// Command ids of the tree windows' own menus (the list configurations and reports are the
// frame's, linked in with LinkFrameCommand).
enum TTreeCommandId : int {
    CmEditProperties = 101,
    CmNewEnvelope = 104,
    CmNewBundle = 105,
    CmNewAssociation = 106,
    CmToggleWatchdog = 107,
    CmNewAccount = 110,
    CmNewAccountGroup = 111,
    CmOpenAccountLedger = 115,
    CmOpenAccountReconcile = 116,
    CmOpenEnvelopeLedger = 117,
    CmDeleteTreeItem = 24325,
    CmZeroEnvelope = 24516,
};

class TEnhancedListWindow : public QAbstractScrollArea, public TListWindowPort {
    Q_OBJECT

public:
    // Rows are rowHeight pixels high and cells cellWidth wide; the drag cursors are drawn from
    // the named icons.
    TEnhancedListWindow(TTreeList& list, int rowHeight, int cellWidth, const char* dragOneIcon,
                        const char* dragSeveralIcon, QWidget* parent = nullptr);
    ~TEnhancedListWindow() override;

    TTreeList& List() const { return list; }
    TTreeSelection& Selection() { return selection; }
    int RowHeight() const { return rowHeight; }
    int CellWidth() const { return cellWidth; }
    // The visible row under a point of the viewport, and its column; null below the last row.
    TTreeItem* ItemAt(QPoint point, int* column = nullptr) const;
    // The row's strip in viewport coordinates.
    QRect RowRect(uint32_t row) const;
    TTreeItem* DropTarget() const { return dropTarget; }
    bool Dragging() const { return dragging; }
    // The label a row shows, as painted (for screen readers and tests).
    QString RowText(uint32_t row) const;

    // The list's notices.
    void ItemChanged(TEnhancedListItem* item) override;
    void ItemsChanged(TEnhancedListItem* item) override;
    void ItemRemoved(TEnhancedListItem* item) override;

    // Paints the rows waiting to be redrawn and takes a pending auto-scroll step; runs when the
    // event loop is next idle.
    void IdlePass();
    // The labels changed as a whole (the list configuration): every row and the width.
    void RefreshAll();

    // Rows painted since the last reset (the drag benchmark counts them).
    long PaintedRows() const { return paintedRows; }
    void ResetPaintedRows() { paintedRows = 0; }

signals:
    void SelectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

    // After a right press has settled the selection: the window's context menu at the point.
    virtual void ShowContextMenu(const QPoint& globalPos) { (void)globalPos; }
    // The icon a row shows in place of the tree's own (aliases show theirs); null keeps it.
    virtual const char* IconOverride(const TTreeItem* item) const {
        (void)item;
        return nullptr;
    }

private:
    const QPixmap& Art(const char* name) const;
    void PaintRow(QPainter& painter, const TTreeItem* item, int y, int flags) const;
    void UpdateScrollRange();
    // The widest row, measured in the window's font.
    void MeasureWidth();
    void RepaintItem(const TEnhancedListItem* item);
    void RepaintSelection();
    void QueueIdlePass();
    // Repaints the rows whose selected state differs from before.
    void SelectionMoved(const std::vector<TTreeItem*>& before);
    void SetDropTarget(TTreeItem* target);
    void UpdateDragCursor();
    void EndDrag();
    void ScrollIntoView(uint32_t row);

    TTreeList& list;
    int rowHeight;
    int cellWidth;
    TTreeSelection selection;
    std::vector<const TEnhancedListItem*> pending;  // rows waiting to be redrawn
    TTreeItem* dropTarget = nullptr;
    bool buttonDown = false;
    bool dragging = false;
    bool pressCtrl = false;
    bool pressShift = false;
    QPoint downPoint;
    QPoint lastMouse;
    const char* dragOneIcon;
    const char* dragSeveralIcon;
    QTimer* idleTimer = nullptr;
    QTimer* scrollTimer = nullptr;
    int maxWidth = 0;
    bool widthDirty = false;
    int wheelRest = 0;          // wheel units short of a notch
    std::vector<int> advances;  // of each code page byte in the font, -1 until measured
    long paintedRows = 0;
};

// A tree window with its own menus: the Edit menu stands in the frame's menu bar while the
// window is active; the context menu repeats it with the frame's commands for the list.
class TTreeWindow : public TEnhancedListWindow, public TChildCommands {
    Q_OBJECT

public:
    using TEnhancedListWindow::TEnhancedListWindow;

    QList<QMenu*> ActiveMenus() override;
    QMenu* EditMenu() const { return editMenu; }
    QMenu* ContextMenu() const { return contextMenu; }
    // The window's actions for command id (its Edit menu's first); null if it has none.
    QAction* CommandAction(int id) const;
    // The window's entries for a frame command (the list configuration, the reports) carry out
    // the frame's action and follow its enabled state.
    void LinkFrameCommand(int id, QAction* frameAction);
    // Enables each command from the predicates of the selected nodes.
    void UpdateCommands();
    // The configuration changed: the labels follow its switches.
    virtual void OptionsChanged() = 0;

protected:
    struct TCommand {
        int id;
        QString text;         // as in the Edit menu
        QString contextText;  // as in the context menu when it differs there
        QList<QKeySequence> keys;
        std::function<bool()> enabled;
        std::function<void()> run;
    };
    // Builds the Edit menu (title, the submenu and its commands first) and the context menu
    // (the same commands, then the frame's, which LinkFrameCommand binds later).
    void BuildMenus(const QString& insertTitle, const std::vector<TCommand>& inserts,
                    const std::vector<TCommand>& others, const std::vector<TCommand>& frame);
    void ShowContextMenu(const QPoint& globalPos) override;

    // Shared actions of both trees over the selection, with Node the tree's node class.
    template <class Node>
    std::vector<Node*> Selected() const;
    // Delete each node of a copy of the selection still selected, in order; stops at a refusal.
    template <class Node>
    void DeleteSelected();
    // Properties of each selected node in order, stopping at a cancel.
    template <class Node>
    void EditSelected();

private:
    struct TBound {
        TCommand command;
        QList<QAction*> actions;
    };
    QAction* MakeAction(QMenu* menu, const TCommand& command, bool context);

    QMenu* editMenu = nullptr;
    QMenu* contextMenu = nullptr;
    std::vector<TBound> bound;
    std::vector<std::pair<int, QAction*>> frameEntries;
};

class TAccountTreeWindow : public TTreeWindow {
    Q_OBJECT

public:
    explicit TAccountTreeWindow(TAccountList& list, QWidget* parent = nullptr);
    void OptionsChanged() override;

private:
    TAccountList& accounts;
};

class TEnvelopeTreeWindow : public TTreeWindow {
    Q_OBJECT

public:
    explicit TEnvelopeTreeWindow(TEnvelopeList& list, QWidget* parent = nullptr);
    void OptionsChanged() override;

protected:
    const char* IconOverride(const TTreeItem* item) const override;

private:
    TEnvelopeList& envelopes;
};

// Screen readers see a tree window as a list: one item per visible row, named by its label.
void InstallTreeWindowAccessibility();
