#include "core/UIPort.h"

namespace {

class TSilentUI : public TUIPort {
public:
    TMsgResult Message(const std::string&, const std::string&, TMsgButtons buttons,
                       TMsgIcon) override {
        switch (buttons) {
            case TMsgButtons::Ok:
                return TMsgResult::Ok;
            case TMsgButtons::OkCancel:
            case TMsgButtons::YesNoCancel:
                return TMsgResult::Cancel;
            case TMsgButtons::YesNo:
                return TMsgResult::No;
        }
        return TMsgResult::Cancel;
    }
    void Beep() override {}
};

TSilentUI silent;

}  // namespace

TPortSlot<TUIPort> UI(silent);
