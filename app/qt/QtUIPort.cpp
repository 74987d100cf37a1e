#include "app/qt/QtUIPort.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

#include "core/Text.h"

namespace {

QMessageBox::Icon ToQtIcon(TMsgIcon icon) {
    switch (icon) {
        case TMsgIcon::Information:
            return QMessageBox::Information;
        case TMsgIcon::Exclamation:
            return QMessageBox::Warning;
        case TMsgIcon::Question:
            return QMessageBox::Question;
        case TMsgIcon::Stop:
            return QMessageBox::Critical;
        case TMsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

TMsgResult TQtUIPort::Message(const std::string& caption, const std::string& text,
                              TMsgButtons buttons, TMsgIcon icon) {
    QMessageBox box(ToQtIcon(icon), FromWindows1252(caption), FromWindows1252(text),
                    QMessageBox::NoButton, QApplication::activeWindow());
    // Closing the box without a choice counts as the most cautious answer offered.
    switch (buttons) {
        case TMsgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            box.setEscapeButton(QMessageBox::Ok);
            break;
        case TMsgButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case TMsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
            break;
        case TMsgButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok:
            return TMsgResult::Ok;
        case QMessageBox::Yes:
            return TMsgResult::Yes;
        case QMessageBox::No:
            return TMsgResult::No;
        default:
            return TMsgResult::Cancel;
    }
}

void TQtUIPort::Beep() {
    QApplication::beep();
}

int TQtScreen::ScreenWidth() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().width() : 1920;
}

int TQtScreen::ScreenHeight() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().height() : 1080;
}
