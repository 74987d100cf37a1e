#include "controls/qt/EditFields.h"

#include <QValidator>
#include <functional>

#include "controls/qt/ControlNames.h"
#include "controls/qt/QtText.h"
#include "core/UIPort.h"

namespace {

// Lets anything be typed, and calls a text acceptable only in the form the field rewrites itself
// to. The line edit then asks for the fix-up when it loses the focus or takes Enter, which is
// where the field's rewrite rule runs.
class TRewriteValidator : public QValidator {
public:
    using TRewrite = std::function<std::string(const std::string&)>;

    // fix is the rewrite with its side effects (a beep); rewrite alone must have none.
    TRewriteValidator(TRewrite rewrite, TRewrite fix, QObject* parent)
        : QValidator(parent), rewrite(std::move(rewrite)), fix(std::move(fix)) {}

    State validate(QString& input, int&) const override {
        const std::string text = ToWindows1252(input);
        return rewrite(text) == text ? Acceptable : Intermediate;
    }
    void fixup(QString& input) const override {
        input = FromWindows1252(fix(ToWindows1252(input)));
    }

private:
    TRewrite rewrite;
    TRewrite fix;
};

void Rewrites(QLineEdit* edit, const TRewriteValidator::TRewrite& rule,
              const TRewriteValidator::TRewrite& fix = nullptr) {
    edit->setValidator(new TRewriteValidator(rule, fix ? fix : rule, edit));
}

}  // namespace

TEditFloat::TEditFloat(QWidget* parent, const char* objectName, const QString& label, bool wide)
    : QLineEdit(parent) {
    NameControl(this, objectName, label);
    setMaxLength(EditFloatTextLimit);
    setAlignment(Qt::AlignRight);
    Rewrites(this, wide ? EditAmountFocusLost : EditFloatFocusLost);
    setText(FromWindows1252(EditFloatText(0.0f)));
}

void TEditFloat::SetValue(float units) {
    setText(FromWindows1252(EditFloatText(units)));
}

float TEditFloat::GetValue() const {
    return EditFloatValue(ToWindows1252(text()));
}

void TEditFloat::SetAmount(double units) {
    setText(FromWindows1252(EditAmountText(units)));
}

double TEditFloat::GetAmount() const {
    return EditAmountValue(ToWindows1252(text()));
}

TEditDate::TEditDate(QWidget* parent, const char* objectName, const QString& label, int textLimit)
    : QLineEdit(parent) {
    NameControl(this, objectName, label);
    setMaxLength(textLimit);
    Rewrites(this, EditDateFocusLost);
    setText(FromWindows1252(EditDateText(TDate())));
}

void TEditDate::SetDate(TDate date) {
    setText(FromWindows1252(EditDateText(date)));
}

TDate TEditDate::GetDate() const {
    return EditDateValue(ToWindows1252(text()));
}

TEditUnsigned::TEditUnsigned(QWidget* parent, const char* objectName, const QString& label,
                             int textLimit, uint32_t minimum, uint32_t maximum)
    : QLineEdit(parent), range{minimum, maximum} {
    NameControl(this, objectName, label);
    setMaxLength(textLimit);
    const TUnsignedRange kept = range;
    Rewrites(
        this, [kept](const std::string& text) { return EditUnsignedFocusLost(text, kept).text; },
        [kept](const std::string& text) {
            const TUnsignedFocusResult result = EditUnsignedFocusLost(text, kept);
            if (result.beep) UI().Beep();
            return result.text;
        });
    SetValue(minimum);
}

void TEditUnsigned::SetValue(uint32_t value) {
    setText(FromWindows1252(EditUnsignedText(value, range)));
}

uint32_t TEditUnsigned::GetValue() const {
    return EditUnsignedValue(ToWindows1252(text()), range);
}
