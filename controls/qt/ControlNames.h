// Every control carries an objectName (for automation) and an accessible name (for screen
// readers): the text of its label or caption without the mnemonic marks and the trailing colon.
#pragma once

#include <QString>
#include <QWidget>

inline QString AccessibleText(QString caption) {
    caption.remove(QLatin1Char('&'));
    while (caption.endsWith(QLatin1Char(' ')) || caption.endsWith(QLatin1Char(':')))
        caption.chop(1);
    return caption;
}

template <class W>
W* NameControl(W* widget, const char* objectName, const QString& caption) {
    widget->setObjectName(QString::fromLatin1(objectName));
    widget->setAccessibleName(AccessibleText(caption));
    return widget;
}
