// Where text crosses between the domain and the toolkit: Windows-1252 bytes on one side, QString
// on the other. Characters the code page cannot hold become '?'.
#pragma once

#include <QString>
#include <string>

QString FromWindows1252(const std::string& text);
std::string ToWindows1252(const QString& text);
