// The program's side of the user-interface and screen ports: real message boxes, the system
// beep, and the primary screen's working area.
#pragma once

#include <string>

#include "controls/qt/QtText.h"
#include "core/ScreenPort.h"
#include "core/UIPort.h"

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
