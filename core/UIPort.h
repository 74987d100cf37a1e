// How the domain talks to the user: message boxes and the beep. The program implements it with
// real message boxes; the console program writes messages to standard error; tests script it.
// Dialogs are ports of their own, declared beside the subsystem that runs them, each taking and
// returning its dialog's transfer buffer as a plain struct.
#pragma once

#include <string>

#include "core/PortSlot.h"

enum class TMsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class TMsgIcon { None, Information, Exclamation, Question, Stop };
enum class TMsgResult { Ok, Cancel, Yes, No };

class TUIPort {
public:
    virtual ~TUIPort() = default;
    virtual TMsgResult Message(const std::string& caption, const std::string& text,
                               TMsgButtons buttons, TMsgIcon icon) = 0;
    virtual void Beep() = 0;
};

// The port in use; never null (a silent port that answers Ok/No/Cancel until one is set).
extern TPortSlot<TUIPort> UI;
