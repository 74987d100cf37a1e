// A user-interface port for tests: answers come from a queue, every message is recorded.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/UIPort.h"

struct TRecordedMessage {
    std::string caption;
    std::string text;
    TMsgButtons buttons;
    TMsgIcon icon;
};

class TScriptedUI : public TUIPort {
public:
    TScriptedUI() { UI.Set(this); }
    ~TScriptedUI() override { UI.Set(nullptr); }

    std::deque<TMsgResult> answers;  // consumed in order; when empty, Ok/Yes-less defaults
    std::vector<TRecordedMessage> messages;
    int beeps = 0;

    TMsgResult Message(const std::string& caption, const std::string& text, TMsgButtons buttons,
                       TMsgIcon icon) override {
        messages.push_back({caption, text, buttons, icon});
        if (!answers.empty()) {
            TMsgResult r = answers.front();
            answers.pop_front();
            return r;
        }
        return buttons == TMsgButtons::Ok      ? TMsgResult::Ok
               : buttons == TMsgButtons::YesNo ? TMsgResult::No
                                               : TMsgResult::Cancel;
    }
    void Beep() override { ++beeps; }
};
