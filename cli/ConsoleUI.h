// The user-interface port of the console program. There is nobody to ask: every message is
// written to standard error as its caption and text, nothing ever waits for input, and each
// question takes the answer that changes nothing: No for Yes/No, Cancel wherever it is offered
// (Ok/Cancel, Yes/No/Cancel), Ok for a plain message. The beep is silent.
#pragma once

#include <iosfwd>

#include "core/UIPort.h"

class TConsoleUI : public TUIPort {
public:
    explicit TConsoleUI(std::ostream& err);
    TMsgResult Message(const std::string& caption, const std::string& text, TMsgButtons buttons,
                       TMsgIcon icon) override;
    void Beep() override {}

private:
    std::ostream& err;
};
