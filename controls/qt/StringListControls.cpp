#include "controls/qt/StringListControls.h"

#include <QKeyEvent>
#include <QMetaMethod>

#include "controls/ListControls.h"
#include "controls/qt/ControlNames.h"
#include "controls/qt/QtText.h"

TTarnStringListCombo::TTarnStringListCombo(QWidget* parent, const char* objectName,
                                           const QString& label,
                                           std::unique_ptr<TTarnStringList> list,
                                           uint32_t defaultPosition, size_t capacity)
    : QComboBox(parent),
      owned(list ? std::move(list) : std::make_unique<TTarnStringList>()),
      names(*owned),
      defaultPosition(defaultPosition),
      capacity(capacity) {
    NameControl(this, objectName, label);
    Fill();
}

TTarnStringListCombo::TTarnStringListCombo(QWidget* parent, const char* objectName,
                                           const QString& label, const TTarnStringList& names,
                                           uint32_t defaultPosition, size_t capacity)
    : QComboBox(parent), names(names), defaultPosition(defaultPosition), capacity(capacity) {
    NameControl(this, objectName, label);
    Fill();
}

void TTarnStringListCombo::Fill() {
    for (const std::string& name : names.Items())
        addItem(FromWindows1252(name));
}

void TTarnStringListCombo::SetText(const std::string& text) {
    setCurrentIndex(static_cast<int>(StringListPosition(names, defaultPosition, text)) - 1);
}

std::string TTarnStringListCombo::GetText() const {
    return ToWindows1252(currentText()).substr(0, capacity);
}

TTarnStringListEdit::TTarnStringListEdit(QWidget* parent, const char* objectName,
                                         const QString& label,
                                         std::unique_ptr<TTarnStringList> list,
                                         uint32_t defaultPosition)
    : QLineEdit(parent),
      owned(list ? std::move(list) : std::make_unique<TTarnStringList>()),
      names(*owned),
      defaultPosition(defaultPosition) {
    NameControl(this, objectName, label);
    connect(this, &QLineEdit::textEdited, this, &TTarnStringListEdit::Complete);
}

TTarnStringListEdit::TTarnStringListEdit(QWidget* parent, const char* objectName,
                                         const QString& label, const TTarnStringList& names,
                                         uint32_t defaultPosition)
    : QLineEdit(parent), names(names), defaultPosition(defaultPosition) {
    NameControl(this, objectName, label);
    connect(this, &QLineEdit::textEdited, this, &TTarnStringListEdit::Complete);
}

void TTarnStringListEdit::SetText(const std::string& text) {
    const uint32_t position = StringListPosition(names, defaultPosition, text);
    setText(FromWindows1252(position != 0 ? names.GetAt(position) : text));
}

std::string TTarnStringListEdit::GetText() const {
    return ToWindows1252(text());
}

void TTarnStringListEdit::Complete() {
    if (rewriting) return;
    const QString typed = text();
    const int caret = hasSelectedText() ? selectionStart() : cursorPosition();
    // Windows-1252 holds one byte per character, so positions carry over as they are.
    const std::optional<TCompletedText> shown =
        CompleteTyped(names, defaultPosition, ToWindows1252(typed), static_cast<size_t>(caret));
    if (!shown) return;
    rewriting = true;
    setText(FromWindows1252(shown->text));
    setCursorPosition(static_cast<int>(shown->caret));
    rewriting = false;
}

bool TTarnStringListEdit::IsGridKey(int key) {
    switch (key) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Up:
        case Qt::Key_Down:
            return true;
        default:
            return false;
    }
}

bool TTarnStringListEdit::event(QEvent* event) {
    // Tab would otherwise move the focus before the key reaches keyPressEvent.
    if (ledgerMode && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return key->isAccepted();
        }
    }
    return QLineEdit::event(event);
}

void TTarnStringListEdit::keyPressEvent(QKeyEvent* event) {
    if (!ledgerMode || !IsGridKey(event->key())) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (isSignalConnected(QMetaMethod::fromSignal(&TTarnStringListEdit::gridKey))) {
        emit gridKey(event->key(), event->modifiers());
        event->accept();
        return;
    }
    event->ignore();
}
