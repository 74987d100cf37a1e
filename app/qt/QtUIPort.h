// The program's side of the user-interface and screen ports: real message boxes, the system
// beep, and the primary screen's working area.
#pragma once

#include <QString>
#include <string>

#include "app/QuilletConfig.h"
#include "app/UIPort.h"

class QWidget;

class TQtUIPort : public TUIPort {
public:
    TMsgResult Message(const std::string& caption, const std::string& text, TMsgButtons buttons,
                       TMsgIcon icon) override;
    void Beep() override;
};

// The working area of the primary screen (without panels and docks); a fixed 1920 x 1080 while no
// screen is known.
class TQtScreen : public TScreenPort {
public:
    int ScreenWidth() const override;
    int ScreenHeight() const override;
};

// Text in the domain is Windows-1252; these convert at the toolkit's edge (characters the code
// page cannot hold become '?').
QString FromWindows1252(const std::string& text);
std::string ToWindows1252(const QString& text);
