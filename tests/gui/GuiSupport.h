// What the window tests share: modal dialogs driven by a script, a dialog's controls by name,
// and a configuration home of the test's own.
#pragma once

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <deque>
#include <functional>

// Drives the modal dialogs a window test opens: each one that appears runs the next scripted
// step; one nobody scripted is cancelled and counted, so a wrong number of dialogs fails instead
// of hanging the test.
struct TModalScript {
    std::deque<std::function<void(QDialog&)>> steps;
    int unscripted = 0;
    QTimer poll;
    TModalScript(std::initializer_list<std::function<void(QDialog&)>> script = {}) : steps(script) {
        QObject::connect(&poll, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible()) return;
            if (steps.empty()) {
                ++unscripted;
                dialog->reject();
                return;
            }
            auto step = steps.front();
            steps.pop_front();
            step(*dialog);
        });
        poll.start(5);
    }
};

// A dialog's child by its object name, or by the number of its control ("ctl101").
template <class W = QWidget>
W* Find(const QWidget& parent, const char* name) {
    return parent.findChild<W*>(name);
}
template <class W = QWidget>
W* Control(const QWidget& dialog, int id) {
    return dialog.findChild<W*>(QString("ctl%1").arg(id));
}

// Replaces a field's text by keys, as a user selecting all and typing over it.
inline void Type(const QWidget& dialog, const char* field, const QString& text) {
    QTest::keyClick(Find(dialog, field), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(Find(dialog, field), text);
}
inline void Press(const QWidget& dialog, const char* button) {
    QTest::keyClick(Find(dialog, button), Qt::Key_Space);
}

// The first control a user can reach that automation or a screen reader cannot name, or ""
// when every one has its name; "(dialog)" when the dialog itself has none.
inline QString UnnamedControl(const QDialog& dialog) {
    if (dialog.accessibleName().isEmpty()) return "(dialog)";
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(&dialog)) continue;
        if (w->objectName().isEmpty()) return w->metaObject()->className();
        if (QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty())
            return w->objectName();
    }
    return {};
}

// Configuration and data folders of the test's own, removed with it.
struct TTestHome {
    QTemporaryDir dir;
    TTestHome() {
        qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
        qputenv("XDG_DATA_HOME", dir.filePath("data").toLocal8Bit());
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
};
