// A child window of the frame that brings its own commands: menus that stand in the main menu bar
// while it is the active window, and frame commands (the control bar's transaction commands, the
// Edit menu's) that it carries out. The frame asks the active child; a child that does not know a
// command leaves it disabled.
#pragma once

#include <QList>

class QMenu;

class TChildCommands {
public:
    virtual ~TChildCommands() = default;

    // Menus placed after "&File" while this window is active, in order. A menu whose title is
    // "&Edit" takes the place of the frame's own Edit menu, and the frame's Edit commands (with
    // their keys) stay disabled meanwhile. Actions a child gives keys to outside these menus use
    // Qt::WidgetWithChildrenShortcut, so two open children never claim the same key.
    virtual QList<QMenu*> ActiveMenus() { return {}; }

    // Whether the child carries out the frame command `id`; when it does, its enabled and checked
    // states.
    virtual bool CommandState(int id, bool& enabled, bool& checked) {
        (void)id, (void)enabled, (void)checked;
        return false;
    }
    // Carries out the frame command `id`; false when the child does not know it.
    virtual bool RunCommand(int id) {
        (void)id;
        return false;
    }
};

// The child commands of an MDI child: its widget's or the sub-window's own.
template <class Window>
TChildCommands* ChildCommandsOf(Window* subWindow) {
    if (!subWindow) return nullptr;
    if (auto* own = dynamic_cast<TChildCommands*>(subWindow)) return own;
    return dynamic_cast<TChildCommands*>(subWindow->widget());
}
