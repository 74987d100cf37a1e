// Drives the modal dialogs a window test opens: each one that appears runs the next scripted
// step; one nobody scripted is cancelled and counted, so a wrong number of dialogs fails instead
// of hanging the test.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <deque>
#include <functional>

struct TModalScript {
    std::deque<std::function<void(QDialog&)>> steps;
    int unscripted = 0;
    QTimer poll;
    TModalScript() {
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

// A dialog's child by its object name.
template <class W = QWidget>
W* Find(const QWidget& parent, const char* name) {
    return parent.findChild<W*>(name);
}
