#include "controls/qt/QtText.h"

#include "core/Text.h"

QString FromWindows1252(const std::string& text) {
    return QString::fromStdString(Cp1252ToUtf8(text));
}

std::string ToWindows1252(const QString& text) {
    return Utf8ToCp1252(text.toStdString());
}
