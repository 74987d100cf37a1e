// The program's version, shown in the main window's title and by quillet-cli --version.
#pragma once

#include <string>

constexpr int QuilletVersionMajor = 3;
constexpr int QuilletVersionMinor = 1;
// The version-control change tag the build number is read from.
inline constexpr const char* QuilletChangeTag = "$Change: 1004 $";

inline std::string QuilletVersionText() {
    return std::to_string(QuilletVersionMajor) + "." + std::to_string(QuilletVersionMinor);
}
